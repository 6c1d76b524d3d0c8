#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "font.h"
#include "generators.h"
#include "heightmap.h"
#include "random.h"
#include "vec.h"

namespace datagen {
namespace {

constexpr float kArena = 1600;

// How a level's ground is coloured from its heights and slopes.
struct Palette {
    Color valley;  // under the fog line
    Color low;
    Color high;
    Color rock;  // steep slopes
    Color summit;
    Color track;  // the driven-in dirt track
    uint32_t seed;
};

struct LevelPlan {
    int id;
    const char* name;
    const char* key;  // file name stem
    Heightmap map;
    Palette palette;
};

// The base texture: coloured by height and slope, lit by the match's sun at (-800, -800,
// 2000) so that the head-up display's map reads as relief. Image row 0 is grid row 0.
// A driven-in track: a wobbly loop round the middle of the arena and two crossings,
// painted as coverage in an image of the ground texture's size.
Image trackMask(int size, uint32_t seed) {
    Image mask(size, size);
    const float scale = static_cast<float>(size) / kArena;
    const int steps = 240;
    std::vector<Vec2> loop;
    for (int i = 0; i <= steps; ++i) {
        const float a = static_cast<float>(i) * 2 * kPi / steps;
        const float r =
            520 + 80 * std::sin(3 * a + static_cast<float>(seed % 7)) + 45 * std::sin(5 * a + 1);
        loop.push_back({800 + r * std::cos(a), 800 + r * std::sin(a)});
    }
    const Color on{1, 1, 1, 1};
    for (size_t i = 0; i + 1 < loop.size(); ++i) {
        mask.line(loop[i].x * scale, loop[i].y * scale, loop[i + 1].x * scale,
                  loop[i + 1].y * scale, 5, on);
    }
    for (int k = 0; k < 2; ++k) {
        const float a = static_cast<float>(k) * kPi / 2 + 0.4f;
        const Vec2 from{800 - 560 * std::cos(a), 800 - 560 * std::sin(a)};
        const Vec2 to{800 + 560 * std::cos(a), 800 + 560 * std::sin(a)};
        Vec2 previous = from;
        for (int i = 1; i <= 40; ++i) {
            const float t = static_cast<float>(i) / 40;
            const float bend = 60 * std::sin(t * kPi * 2 + static_cast<float>(k));
            const Vec2 p{from.x + (to.x - from.x) * t - bend * std::sin(a),
                         from.y + (to.y - from.y) * t + bend * std::cos(a)};
            mask.line(previous.x * scale, previous.y * scale, p.x * scale, p.y * scale, 6, on);
            previous = p;
        }
    }
    // Soft verges.
    Mask coverage{size, size, std::vector<float>(static_cast<size_t>(size) * size)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            coverage.coverage[static_cast<size_t>(y) * size + x] = mask.at(x, y).r;
    }
    coverage = blurred(coverage, 2);
    mask.shade([&](float u, float v) {
        const float c = coverage.at(std::min(size - 1, static_cast<int>(u * size)),
                                    std::min(size - 1, static_cast<int>(v * size)));
        return Color{c, c, c, 1};
    });
    return mask;
}

Image groundTexture(const Heightmap& map, const Palette& p) {
    const int size = 512;
    Image image(size, size);
    const Image track = trackMask(size, p.seed);
    const Vec3 sun = normalized({-800, -800, 2000});
    image.shade([&](float u, float v) {
        const float x = u * kArena;
        const float y = v * kArena;
        const float h = map.groundHeight(x, y);
        const int column = std::min(255, static_cast<int>(u * 256));
        const int row = std::min(255, static_cast<int>(v * 256));
        const float slope = map.slope(column, row);
        const float n = fractalNoise(u * 32, v * 32, 32, 4, 0.55f, p.seed);
        const float patches = fractalNoise(u * 6, v * 6, 6, 3, 0.5f, p.seed + 7);
        Color c = mix(p.low, p.high, smoothstep(30, 140, h + 30 * (patches - 0.5f)));
        c = mix(c, p.summit, smoothstep(150, 210, h + 20 * (n - 0.5f)));
        c = mix(c, p.rock, smoothstep(0.45f, 0.9f, slope + 0.3f * (n - 0.5f)));
        // Tracks wear through the grass and sand, but not on cliffs and not under water.
        const Color& trodden = track.at(std::min(size - 1, static_cast<int>(u * size)),
                                        std::min(size - 1, static_cast<int>(v * size)));
        const float worn = std::min(1.0f, 1.7f * trodden.r);
        c = mix(
            c, scaled(p.track, 0.9f + 0.25f * n),
            worn * smoothstep(0.3f, 0.6f, n + 0.35f * worn) * (1 - smoothstep(0.5f, 0.8f, slope)));
        c = mix(c, p.valley, 1 - smoothstep(12, 28, h + 8 * (n - 0.5f)));
        // Relief shading from the terrain normal.
        const float step = Heightmap::kStep;
        const float hx = map.groundHeight(x + step, y) - map.groundHeight(x - step, y);
        const float hy = map.groundHeight(x, y + step) - map.groundHeight(x, y - step);
        const Vec3 normal = normalized({-hx, -hy, 2 * step});
        const float light = 0.55f + 0.55f * std::max(0.0f, dot(normal, sun));
        return scaled(c, light * (0.9f + 0.2f * n));
    });
    return image;
}

// The detail texture, repeated every 100 world units and combined with the base at double
// brightness, so mid-grey leaves the base unchanged. Tiles seamlessly. The hue leans a
// little towards the `ground` colour without changing the mean brightness.
Image detailTexture(uint32_t seed, const Color& ground) {
    const float mean = (ground.r + ground.g + ground.b) / 3;
    const Color tint{1 + 0.2f * (ground.r / mean - 1), 1 + 0.2f * (ground.g / mean - 1),
                     1 + 0.2f * (ground.b / mean - 1), 1};
    Image image(256, 256);
    image.shade([&](float u, float v) {
        const float grain = fractalNoise(u * 32, v * 32, 32, 3, 0.6f, seed) - 0.5f;
        const float clumps = fractalNoise(u * 8, v * 8, 8, 4, 0.55f, seed + 1) - 0.5f;
        const float pebbles =
            smoothstep(0.74f, 0.84f, fractalNoise(u * 24, v * 24, 24, 2, 0.4f, seed + 2));
        const float g = 0.47f + 0.12f * grain + 0.22f * clumps + 0.1f * pebbles;
        return Color{clamp01(g * tint.r), clamp01(g * tint.g), clamp01(g * tint.b), 1};
    });
    return image;
}

struct Spot {
    int x, y, z;
};

// Picks `count` places on open ground: away from the fence, out of the fog, on gentle
// slopes, and at least `spacing` apart from each other and from `avoid`.
std::vector<Spot> scatter(const Heightmap& map, int count, float spacing,
                          const std::vector<Spot>& avoid, uint64_t seed, float lift) {
    Random random(seed);
    std::vector<Spot> spots;
    for (int attempt = 0; attempt < 20000 && static_cast<int>(spots.size()) < count; ++attempt) {
        const float x = random.range(200, 1400);
        const float y = random.range(200, 1400);
        const float h = map.groundHeight(x, y);
        const int column = static_cast<int>(x / Heightmap::kStep);
        const int row = static_cast<int>(y / Heightmap::kStep);
        if (h < 28 || map.slope(column, row) > 0.35f) continue;
        bool clear = true;
        for (const std::vector<Spot>* list :
             {static_cast<const std::vector<Spot>*>(&spots), &avoid}) {
            for (const Spot& s : *list) {
                if (std::hypot(static_cast<float>(s.x) - x, static_cast<float>(s.y) - y) < spacing)
                    clear = false;
            }
        }
        if (!clear) continue;
        spots.push_back(
            {static_cast<int>(x), static_cast<int>(y), static_cast<int>(std::ceil(h + lift))});
    }
    return spots;
}

std::string levelXml(const LevelPlan& plan, const std::vector<Spot>& starts,
                     const std::vector<Spot>& items) {
    static const char* const kItemTypes[] = {"ITEM_POWER25",   "ITEM_POWER15", "ITEM_AMMO_MG",
                                             "ITEM_AMMO_RAIL", "ITEM_AMOR_50", "ITEM_AMOR_100"};
    std::string xml;
    char line[256];
    std::snprintf(line, sizeof line, "  <level id=\"%d\" name=\"%s\">\n", plan.id, plan.name);
    xml += line;
    std::snprintf(line, sizeof line,
                  "    <terrain heightmap=\"./levels/%s.raw\" texture=\"./textures/%s_ground.bmp\" "
                  "texture_det=\"./textures/%s_detail.bmp\"/>\n",
                  plan.key, plan.key, plan.key);
    xml += line;
    for (const Spot& s : starts) {
        std::snprintf(line, sizeof line, "    <player posx=\"%d\" posy=\"%d\" posz=\"%d\"/>\n", s.x,
                      s.y, s.z);
        xml += line;
    }
    for (size_t i = 0; i < items.size(); ++i) {
        std::snprintf(line, sizeof line,
                      "    <item id=\"%zu\" type=\"%s\" posx=\"%d\" posy=\"%d\" posz=\"%d\"/>\n",
                      i + 1, kItemTypes[i % 6], items[i].x, items[i].y, items[i].z);
        xml += line;
    }
    xml += "  </level>\n";
    return xml;
}

}  // namespace

void writeLevels(Output& out) {
    const LevelPlan plans[] = {
        {1,
         "Verdant Reach",
         "reach",
         rollingHills(),
         {{0.22f, 0.30f, 0.30f, 1},
          {0.34f, 0.52f, 0.20f, 1},
          {0.52f, 0.60f, 0.28f, 1},
          {0.50f, 0.46f, 0.40f, 1},
          {0.78f, 0.76f, 0.66f, 1},
          {0.56f, 0.46f, 0.32f, 1},
          3001}},
        {2,
         "Kessel Deep",
         "kessel",
         redCanyon(),
         {{0.30f, 0.18f, 0.12f, 1},
          {0.80f, 0.52f, 0.32f, 1},
          {0.86f, 0.64f, 0.42f, 1},
          {0.58f, 0.30f, 0.20f, 1},
          {0.92f, 0.80f, 0.62f, 1},
          {0.62f, 0.42f, 0.30f, 1},
          3002}},
    };
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<levels>\n";
    for (const LevelPlan& plan : plans) {
        const std::string key = plan.key;
        out.write("levels/" + key + ".raw", plan.map.bytes());
        out.writeBmp("textures/" + key + "_ground.bmp", groundTexture(plan.map, plan.palette));
        out.writeBmp("textures/" + key + "_detail.bmp",
                     detailTexture(plan.palette.seed + 10, plan.palette.low));
        const std::vector<Spot> starts = scatter(plan.map, 10, 320, {}, plan.palette.seed + 20, 4);
        const std::vector<Spot> items =
            scatter(plan.map, 18, 170, starts, plan.palette.seed + 30, 0);
        xml += levelXml(plan, starts, items);
    }
    xml += "</levels>\n";
    out.writeText("level.xml", xml);
}

}  // namespace datagen
