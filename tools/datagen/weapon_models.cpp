#include <cmath>

#include "generators.h"
#include "models.h"
#include "writer_3ds.h"

namespace datagen {
namespace {

constexpr float kMountX = -0.158f;
constexpr float kMountY = 0.4f;
constexpr float kMountZ = -0.3f;

// A closed tube along z from z0 to z1 (z0 > z1, pointing forward) around (x, y).
MeshObject tube(float x, float y, float z0, float z1, float radius, int segments) {
    return lathe({{z1, 0}, {z1, radius}, {z0, radius}, {z0, 0}}, segments, 2, {x, y, 0}, {1, 2});
}

MeshObject ring(float x, float y, float z, float radius, float depth, int segments) {
    return tube(x, y, z + depth / 2, z - depth / 2, radius, segments);
}

// The yoke that both weapons sit in, on the mount's turntable.
MeshObject yoke(Detail detail) {
    MeshObject o;
    o.append(lathe({{0.0f, 0}, {0.0f, 0.026f}, {0.012f, 0.024f}, {0.012f, 0}},
                   pick(detail, 20, 7, 4), 1, {kMountX, 0.392f - 0.012f, kMountZ}, {1, 2}));
    o.append(box({kMountX - 0.032f, 0.39f, kMountZ - 0.02f},
                 {kMountX - 0.024f, 0.425f, kMountZ + 0.02f}));
    o.append(box({kMountX + 0.024f, 0.39f, kMountZ - 0.02f},
                 {kMountX + 0.032f, 0.425f, kMountZ + 0.02f}));
    return o;
}

}  // namespace

Model machineGunModel(Detail detail) {
    Model m;
    m.materials = {{"mg_dark", 44, 46, 52, ""},
                   {"mg_steel", 120, 124, 132, ""},
                   {"mg_barrel", 70, 72, 78, ""},
                   {"mg_brass", 196, 150, 60, ""}};
    MeshObject base = yoke(detail);
    base.name = "mg_yoke";
    base.material = 0;

    MeshObject body;
    body.name = "mg_receiver";
    body.material = 1;
    body.append(prism({{kMountX - 0.022f, 0.375f},
                       {kMountX + 0.022f, 0.375f},
                       {kMountX + 0.022f, 0.418f},
                       {kMountX + 0.012f, 0.428f},
                       {kMountX - 0.012f, 0.428f},
                       {kMountX - 0.022f, 0.418f}},
                      -0.405f, -0.22f, detail == Detail::Full ? 0.004f : 0.0f));
    // Drum magazine on the left side.
    body.append(lathe({{-0.012f, 0}, {-0.012f, 0.03f}, {0.012f, 0.03f}, {0.012f, 0}},
                      pick(detail, 18, 7, 4), 0, {kMountX - 0.036f, 0.4f, -0.275f}, {1, 2}));
    // Rear grips.
    if (detail != Detail::Far) {
        body.append(box({kMountX - 0.008f, 0.38f, -0.222f}, {kMountX + 0.008f, 0.41f, -0.19f}));
    }

    // Six barrels round the spin axis, held by two clamps.
    MeshObject barrel;
    barrel.name = "mg_barrels";
    barrel.material = 2;
    const float ax = kMountX;
    const float ay = 0.395f;
    const int barrels = pick(detail, 6, 6, 3);
    for (int k = 0; k < barrels; ++k) {
        const float a = static_cast<float>(k) * 2 * kPi / static_cast<float>(barrels);
        barrel.append(tube(ax + 0.014f * std::cos(a), ay + 0.014f * std::sin(a), -0.4f, -0.545f,
                           0.0055f, pick(detail, 10, 4, 3)));
    }
    barrel.append(ring(ax, ay, -0.43f, 0.024f, 0.012f, pick(detail, 20, 8, 5)));
    barrel.append(ring(ax, ay, -0.52f, 0.022f, 0.01f, pick(detail, 20, 8, 5)));
    if (detail == Detail::Full) barrel.append(tube(ax, ay, -0.4f, -0.53f, 0.006f, 8));

    MeshObject belt;
    belt.name = "mg_ammo";
    belt.material = 3;
    const int rounds = pick(detail, 6, 2, 1);
    for (int k = 0; k < rounds; ++k) {
        const float z = -0.295f + 0.01f * static_cast<float>(k);
        belt.append(lathe({{0.0f, 0}, {0.0f, 0.0035f}, {0.014f, 0.0035f}, {0.02f, 0}},
                          pick(detail, 8, 4, 3), 0,
                          {kMountX - 0.02f, 0.37f - 0.004f * static_cast<float>(k), z}, {1, 2}));
    }
    m.objects = {base, body, barrel, belt};
    return m;
}

Model railGunModel(Detail detail) {
    Model m;
    m.materials = {{"rail_dark", 62, 68, 82, ""},
                   {"rail_steel", 150, 156, 168, ""},
                   {"rail_coil", 70, 200, 255, ""},
                   {"rail_cell", 28, 90, 140, ""}};
    const int seg = pick(detail, 18, 7, 4);
    const float bx = -0.164f;
    const float by = 0.496f;

    MeshObject base = yoke(detail);
    base.name = "rail_yoke";
    base.material = 0;
    // Armoured pedestal from the yoke up to the rails, narrowing towards the top.
    base.append(prism({{kMountX - 0.026f, 0.395f},
                       {kMountX + 0.026f, 0.395f},
                       {kMountX + 0.016f, 0.478f},
                       {kMountX - 0.016f, 0.478f}},
                      kMountZ - 0.045f, kMountZ + 0.035f, detail == Detail::Full ? 0.004f : 0.0f));

    // Two rails above and below the bore, ending at the muzzle.
    MeshObject rails;
    rails.name = "rail_rails";
    rails.material = 1;
    for (float dy : {-0.014f, 0.014f}) {
        rails.append(prism({{bx - 0.012f, by + dy - 0.005f},
                            {bx + 0.012f, by + dy - 0.005f},
                            {bx + 0.012f, by + dy + 0.005f},
                            {bx - 0.012f, by + dy + 0.005f}},
                           -0.533f, -0.2f, detail == Detail::Full ? 0.002f : 0.0f));
    }
    rails.append(box({bx - 0.006f, by - 0.014f, -0.22f}, {bx + 0.006f, by + 0.014f, -0.2f}));

    // Glowing accelerator coils along the bore.
    MeshObject coils;
    coils.name = "rail_coils";
    coils.material = 2;
    const int count = pick(detail, 8, 4, 2);
    for (int k = 0; k < count; ++k) {
        const float z = -0.25f - 0.25f * static_cast<float>(k) / static_cast<float>(count);
        coils.append(ring(bx, by, z, 0.02f, 0.012f, seg));
    }

    // Capacitor block at the back, over the pivot.
    MeshObject cell;
    cell.name = "rail_capacitor";
    cell.material = 3;
    cell.append(prism({{bx - 0.024f, by - 0.025f},
                       {bx + 0.024f, by - 0.025f},
                       {bx + 0.024f, by + 0.02f},
                       {bx + 0.01f, by + 0.03f},
                       {bx - 0.01f, by + 0.03f},
                       {bx - 0.024f, by + 0.02f}},
                      -0.33f, -0.17f, detail == Detail::Full ? 0.005f : 0.0f));
    m.objects = {base, rails, coils, cell};
    return m;
}

void writeWeaponModels(Output& out) {
    const std::pair<const char*, Detail> levels[] = {
        {"", Detail::Full}, {"_middle", Detail::Middle}, {"_far", Detail::Far}};
    for (const auto& [suffix, detail] : levels) {
        out.write(std::string("models/weapon_mg") + suffix + ".3ds",
                  encode3ds(machineGunModel(detail)));
        out.write(std::string("models/weapon_railgun") + suffix + ".3ds",
                  encode3ds(railGunModel(detail)));
    }
}

}  // namespace datagen
