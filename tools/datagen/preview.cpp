// voka-datagen-preview <game-dir> <png-prefix>: draws the generated models, and a match
// scene on each level, with a small software renderer, so their looks can be judged
// without starting the game.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "models.h"
#include "preview_canvas.h"
#include "voka_model.h"
#include "xml_tags.h"

namespace datagen {
namespace {

// World space (z up) to the preview's space (y up).
Vec3 toPreview(Vec3 w) {
    return {w.x, w.z, -w.y};
}

// The game's object transform: translate, uniform scale, heading about z, then the turn
// that stands a Y-up model upright (-90 degrees about z, 90 about x).
std::function<Vec3(Vec3)> objectToWorld(Vec3 position, float scale, float heading) {
    const float h = heading * kPi / 180;
    return [=](Vec3 p) {
        const Vec3 upright{-p.z, -p.x, p.y};
        const Vec3 turned{upright.x * std::cos(h) - upright.y * std::sin(h),
                          upright.x * std::sin(h) + upright.y * std::cos(h), upright.z};
        return toPreview(position + turned * scale);
    };
}

struct Spot {
    float x, y, z;
    std::string type;
};

struct LevelView {
    std::string heightmap, texture;
    std::vector<Spot> starts, items;
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<LevelView> readLevels(const std::string& dir) {
    std::vector<LevelView> out;
    for (const XmlTag& tag : startTags(readAll(dir + "/level.xml"))) {
        auto a = tag.attributes;
        if (tag.name == "level") out.emplace_back();
        if (out.empty()) continue;
        if (tag.name == "terrain") {
            out.back().heightmap = a["heightmap"];
            out.back().texture = a["texture"].substr(a["texture"].rfind('/') + 1);
        }
        if (tag.name == "player" || tag.name == "item") {
            const Spot s{std::stof(a["posx"]), std::stof(a["posy"]), std::stof(a["posz"]),
                         a["type"]};
            (tag.name == "player" ? out.back().starts : out.back().items).push_back(s);
        }
    }
    return out;
}

// The terrain as the game builds it, every second grid point.
Model terrainModel(const std::string& heights, const std::string& texture) {
    auto raw = [&](int c, int r) {
        return static_cast<float>(
            static_cast<unsigned char>(heights[static_cast<size_t>((r % 256) * 256 + (c % 256))]));
    };
    Model m;
    m.materials = {{"ground", 255, 255, 255, texture}};
    MeshObject o;
    const int step = 2;
    const int side = 256 / step + 1;
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            const int c = i * step;
            const int r = j * step;
            o.addVertex({c / 0.16f, r / 0.16f, raw(c, r)}, {c / 256.0f, -r / 256.0f});
        }
    }
    for (int i = 0; i + 1 < side; ++i) {
        for (int j = 0; j + 1 < side; ++j) {
            const int k = i * side + j;
            o.addTriangle(k, k + side, k + side + 1);
            o.addTriangle(k, k + side + 1, k + 1);
        }
    }
    m.objects = {o};
    return m;
}

ItemKind kindOf(const std::string& type) {
    if (type == "ITEM_POWER25") return ItemKind::Power25;
    if (type == "ITEM_POWER15") return ItemKind::Power15;
    if (type == "ITEM_AMMO_MG") return ItemKind::AmmoMg;
    if (type == "ITEM_AMMO_RAIL") return ItemKind::AmmoRail;
    if (type == "ITEM_AMOR_50") return ItemKind::Armor50;
    return ItemKind::Armor100;
}

void drawScene(const std::string& dir, const LevelView& level, TextureCache& textures,
               const std::string& out) {
    Canvas canvas(800, 600);
    const Spot me = level.starts.front();
    // Look from behind the first start towards the arena's centre.
    const float heading = std::atan2(800 - me.y, 800 - me.x) * 180 / kPi;
    const Vec3 dir3{std::cos(heading * kPi / 180), std::sin(heading * kPi / 180), 0};
    const Vec3 pos{me.x, me.y, me.z - 4};
    const Camera cam{toPreview(pos - dir3 * 30 + Vec3{0, 0, 14}),
                     toPreview(pos + dir3 * 40 + Vec3{0, 0, 2}), 75};
    canvas.draw(skyModel(),
                {[](Vec3 p) {
                     return toPreview(Vec3{125, 125, -5} + Vec3{p.x, -p.z, p.y} * 10000);
                 },
                 false,
                 {}},
                cam, textures);
    canvas.draw(terrainModel(readAll(dir + "/" + level.heightmap), level.texture),
                {toPreview, true, [](Vec3 p) { return std::clamp((70 - p.y) / 50, 0.0f, 1.0f); }},
                cam, textures);
    canvas.draw(vokaModel(Detail::Full, "voka_red_body.tga"),
                {objectToWorld(pos, 25, heading), true, {}}, cam, textures);
    canvas.draw(machineGunModel(Detail::Full), {objectToWorld(pos, 25, heading), true, {}}, cam,
                textures);
    for (size_t i = 1; i < level.starts.size(); ++i) {
        const Spot& s = level.starts[i];
        canvas.draw(vokaModel(Detail::Middle, "voka_green_body.tga"),
                    {objectToWorld({s.x, s.y, s.z - 4}, 25, static_cast<float>(i) * 40), true, {}},
                    cam, textures);
    }
    for (const Spot& s : level.items) {
        canvas.draw(itemModel(kindOf(s.type), Detail::Full),
                    {objectToWorld({s.x, s.y, s.z + 1}, 10, 30), true, {}}, cam, textures);
    }
    canvas.save(out);
}

Vec3 identity(Vec3 p) {
    return p;
}

}  // namespace
}  // namespace datagen

int main(int argc, char** argv) {
    using namespace datagen;
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <game-dir> <png-prefix>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    TextureCache textures(dir);
    const std::string prefix = argv[2];
    const Detail details[] = {Detail::Full, Detail::Middle, Detail::Far};
    const char* names[] = {"full", "middle", "far"};
    const Placement plain{identity, true, {}};
    for (int d = 0; d < 3; ++d) {
        Canvas front(640, 480);
        const Camera c1{{-0.75f, 0.55f, -1.05f}, {0, 0.2f, -0.23f}, 38};
        front.draw(vokaModel(details[d], "voka_red_body.tga"), plain, c1, textures);
        front.draw(machineGunModel(details[d]), plain, c1, textures);
        front.save(prefix + "_red_" + names[d] + ".png");
        Canvas back(640, 480);
        const Camera c2{{0.8f, 0.6f, 0.7f}, {0, 0.2f, -0.23f}, 38};
        back.draw(vokaModel(details[d], "voka_green_body.tga"), plain, c2, textures);
        back.draw(railGunModel(details[d]), plain, c2, textures);
        back.save(prefix + "_green_" + names[d] + ".png");
    }
    Canvas items(1200, 300);
    const ItemKind kinds[] = {ItemKind::Power25,  ItemKind::Power15, ItemKind::AmmoMg,
                              ItemKind::AmmoRail, ItemKind::Armor50, ItemKind::Armor100};
    const Camera c3{{0, 0.8f, 3.2f}, {0, 0.28f, 0}, 30};
    for (int k = 0; k < 6; ++k) {
        const float x = -1.5f + 0.6f * static_cast<float>(k);
        items.draw(itemModel(kinds[k], Detail::Full), {rotateThenMove(1, 30, {x, 0, 0}), true, {}},
                   c3, textures);
    }
    items.save(prefix + "_items.png");
    const std::vector<LevelView> levels = readLevels(dir);
    for (size_t i = 0; i < levels.size(); ++i) {
        drawScene(dir, levels[i], textures, prefix + "_level" + std::to_string(i + 1) + ".png");
    }
    return 0;
}
