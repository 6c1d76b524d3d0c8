#include <cmath>

#include "generators.h"
#include "models.h"
#include "writer_3ds.h"

namespace datagen {
namespace {

// A rounded plus sign standing upright in the x-y plane, centred at height cy.
MeshObject cross(float size, float cy, float depth, Detail detail) {
    const float arm = size * 0.5f;
    const float half = size * 0.17f;
    const float bevel = detail == Detail::Full ? size * 0.04f : 0.0f;
    MeshObject o;
    const std::vector<Vec2> upright = {
        {-half, cy - arm}, {half, cy - arm}, {half, cy + arm}, {-half, cy + arm}};
    const std::vector<Vec2> across = {
        {-arm, cy - half}, {arm, cy - half}, {arm, cy + half}, {-arm, cy + half}};
    o.append(prism(upright, -depth / 2, depth / 2, bevel));
    o.append(prism(across, -depth * 0.46f, depth * 0.46f, bevel));  // thinner: no coplanar faces
    return o;
}

// A ring about the z axis (upright, facing along z).
MeshObject torus(float radius, float thickness, float cy, Detail detail) {
    std::vector<Vec2> profile;
    const int steps = pick(detail, 12, 6, 4);
    for (int i = 0; i < steps; ++i) {
        const float a = static_cast<float>(i) * 2 * kPi / static_cast<float>(steps);
        profile.push_back({thickness * std::sin(a), radius + thickness * std::cos(a)});
    }
    profile.push_back(profile.front());  // closes exactly, so the seam's edges match
    return lathe(profile, pick(detail, 40, 14, 8), 2, {0, cy, 0});
}

// A heater shield: flat top, curved flanks meeting in a point at the bottom.
std::vector<Vec2> shieldOutline(float width, float height, float bottom, Detail detail) {
    std::vector<Vec2> pts;
    const int steps = pick(detail, 12, 4, 2);
    const float w = width / 2;
    pts.push_back({0, bottom});
    for (int i = 1; i <= steps; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(steps);
        const float y = bottom + height * 0.62f * t;
        pts.push_back({w * std::sin(t * kPi / 2), y});
    }
    pts.push_back({w, bottom + height});
    pts.push_back({-w, bottom + height});
    for (int i = steps; i >= 1; --i) {
        const float t = static_cast<float>(i) / static_cast<float>(steps);
        pts.push_back({-w * std::sin(t * kPi / 2), bottom + height * 0.62f * t});
    }
    return pts;
}

std::vector<Vec2> star(float outer, float inner, float cx, float cy) {
    std::vector<Vec2> pts;
    for (int i = 0; i < 10; ++i) {
        const float r = i % 2 == 0 ? outer : inner;
        const float a = kPi / 2 + static_cast<float>(i) * kPi / 5;
        pts.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return pts;
}

Model health(float size, bool withRing, Detail detail) {
    Model m;
    m.materials = {{"medic_red", 225, 30, 30, ""}, {"medic_white", 240, 240, 236, ""}};
    const float cy = size * 0.5f + 0.04f;
    MeshObject c = cross(size, cy, size * 0.28f, detail);
    c.name = "cross";
    c.material = 0;
    MeshObject frame;
    frame.name = "frame";
    frame.material = 1;
    if (withRing) {
        frame.append(torus(size * 0.62f, size * 0.05f, cy, detail));
    } else {
        // A white backing disc behind the smaller cross.
        frame.append(lathe({{-size * 0.08f, 0},
                            {-size * 0.08f, size * 0.42f},
                            {size * 0.08f, size * 0.42f},
                            {size * 0.08f, 0}},
                           pick(detail, 40, 12, 5), 2, {0, cy, 0}, {1, 2}));
    }
    m.objects = {c, frame};
    return m;
}

Model ammoMg(Detail detail) {
    Model m;
    m.materials = {{"ammo_green", 62, 112, 48, ""},
                   {"ammo_brass", 214, 168, 70, ""},
                   {"ammo_stencil", 230, 220, 150, ""}};
    MeshObject crate;
    crate.name = "crate";
    crate.material = 0;
    crate.append(prism({{-0.2f, 0.02f}, {0.2f, 0.02f}, {0.2f, 0.22f}, {-0.2f, 0.22f}}, -0.11f,
                       0.11f, detail == Detail::Full ? 0.012f : 0.0f));
    MeshObject rounds;
    rounds.name = "rounds";
    rounds.material = 1;
    const int count = pick(detail, 7, 5, 3);
    for (int k = 0; k < count; ++k) {
        const float x = -0.15f + 0.3f * static_cast<float>(k) / static_cast<float>(count - 1);
        rounds.append(
            lathe({{0.0f, 0}, {0.0f, 0.022f}, {0.13f, 0.022f}, {0.17f, 0.012f}, {0.19f, 0}},
                  pick(detail, 12, 5, 3), 1, {x, 0.22f, 0}, {1, 2}));
    }
    MeshObject band;
    band.name = "band";
    band.material = 2;
    band.append(box({-0.205f, 0.1f, -0.115f}, {0.205f, 0.14f, 0.115f}));
    m.objects = {crate, rounds, band};
    return m;
}

Model ammoRail(Detail detail) {
    Model m;
    m.materials = {{"cell_casing", 52, 58, 72, ""}, {"cell_glow", 80, 210, 255, ""}};
    MeshObject casing;
    casing.name = "casing";
    casing.material = 0;
    MeshObject glow;
    glow.name = "charge";
    glow.material = 1;
    const int seg = pick(detail, 20, 7, 4);
    casing.append(
        prism({{-0.2f, 0.0f}, {0.2f, 0.0f}, {0.2f, 0.05f}, {-0.2f, 0.05f}}, -0.12f, 0.12f));
    for (int k = 0; k < 3; ++k) {
        const float x = -0.12f + 0.12f * static_cast<float>(k);
        casing.append(lathe({{0.0f, 0}, {0.0f, 0.05f}, {0.06f, 0.05f}, {0.06f, 0}}, seg, 1,
                            {x, 0.05f, 0}, {1, 2}));
        if (detail == Detail::Full) {
            casing.append(
                lathe({{0.0f, 0}, {0.0f, 0.05f}, {0.05f, 0.05f}, {0.065f, 0.03f}, {0.065f, 0}}, seg,
                      1, {x, 0.32f, 0}, {1, 2, 3}));
        } else {
            casing.append(lathe({{0.0f, 0}, {0.0f, 0.05f}, {0.065f, 0.05f}, {0.065f, 0}}, seg, 1,
                                {x, 0.32f, 0}, {1, 2}));
        }
        glow.append(lathe({{0.0f, 0}, {0.0f, 0.04f}, {0.21f, 0.04f}, {0.21f, 0}}, seg, 1,
                          {x, 0.11f, 0}, {1, 2}));
    }
    m.objects = {casing, glow};
    return m;
}

Model armor(bool big, Detail detail) {
    Model m;
    const float width = big ? 0.5f : 0.38f;
    const float height = big ? 0.58f : 0.44f;
    const float depth = big ? 0.1f : 0.08f;
    m.materials = {{"shield_blue", 40, 90, 215, ""},
                   {"shield_rim", big ? uint8_t{235} : uint8_t{200},
                    big ? uint8_t{185} : uint8_t{205}, big ? uint8_t{50} : uint8_t{215}, ""}};
    MeshObject face;
    face.name = "shield";
    face.material = 0;
    face.append(prism(shieldOutline(width * 0.84f, height * 0.86f, 0.04f + height * 0.07f, detail),
                      -depth / 2, depth / 2 + 0.01f, detail == Detail::Full ? 0.012f : 0.0f));
    MeshObject rim;
    rim.name = "rim";
    rim.material = 1;
    rim.append(
        prism(shieldOutline(width, height, 0.04f, detail), -depth / 2 + 0.01f, depth / 2 - 0.01f));
    if (detail == Detail::Far) {
        // Too small to see at that distance.
    } else if (big) {
        // A star on both faces marks the heavy armor.
        rim.append(prism(star(height * 0.2f, height * 0.08f, 0, 0.04f + height * 0.55f), depth / 2,
                         depth / 2 + 0.035f));
        rim.append(prism(star(height * 0.2f, height * 0.08f, 0, 0.04f + height * 0.55f),
                         -depth / 2 - 0.035f, -depth / 2));
    } else {
        rim.append(prism({{-0.02f, 0.1f}, {0.02f, 0.1f}, {0.02f, 0.38f}, {-0.02f, 0.38f}},
                         depth / 2, depth / 2 + 0.025f));
        rim.append(prism({{-0.02f, 0.1f}, {0.02f, 0.1f}, {0.02f, 0.38f}, {-0.02f, 0.38f}},
                         -depth / 2 - 0.025f, -depth / 2));
    }
    m.objects = {face, rim};
    return m;
}

}  // namespace

const char* itemFileStem(ItemKind kind) {
    switch (kind) {
        case ItemKind::Power25:
            return "powerup25";
        case ItemKind::Power15:
            return "powerup15";
        case ItemKind::AmmoMg:
            return "ammo_minigun";
        case ItemKind::AmmoRail:
            return "ammo_rail";
        case ItemKind::Armor50:
            return "amor_50";
        case ItemKind::Armor100:
            break;
    }
    return "amor_100";
}

Model itemModel(ItemKind kind, Detail detail) {
    switch (kind) {
        case ItemKind::Power25:
            return health(0.5f, true, detail);
        case ItemKind::Power15:
            return health(0.34f, false, detail);
        case ItemKind::AmmoMg:
            return ammoMg(detail);
        case ItemKind::AmmoRail:
            return ammoRail(detail);
        case ItemKind::Armor50:
            return armor(false, detail);
        case ItemKind::Armor100:
            break;
    }
    return armor(true, detail);
}

void writeItemModels(Output& out) {
    const ItemKind kinds[] = {ItemKind::Power25,  ItemKind::Power15, ItemKind::AmmoMg,
                              ItemKind::AmmoRail, ItemKind::Armor50, ItemKind::Armor100};
    const std::pair<const char*, Detail> levels[] = {
        {"", Detail::Full}, {"_middle", Detail::Middle}, {"_far", Detail::Far}};
    for (ItemKind kind : kinds) {
        for (const auto& [suffix, detail] : levels) {
            out.write(std::string("models/items/") + itemFileStem(kind) + suffix + ".3ds",
                      encode3ds(itemModel(kind, detail)));
        }
    }
}

}  // namespace datagen
