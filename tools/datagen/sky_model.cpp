#include <cmath>

#include "generators.h"
#include "models.h"
#include "random.h"
#include "writer_3ds.h"

namespace datagen {
namespace {

constexpr float kRadius = 0.6f;
// Where the match's sun at (-800, -800, 2000) stands as seen from the sky's centre
// (125, 125, -5), in the texture's (u around, v up) coordinates.
constexpr float kSunU = 0.875f;
constexpr float kSunV = 0.816f;

}  // namespace

// A sphere about the y axis; v runs from the bottom pole (0) to the top pole (1), so the
// texture's top row is the zenith. Its faces point outwards, which the game's clockwise
// front face turns into faces seen from inside.
Model skyModel() {
    std::vector<Vec2> profile;
    std::vector<float> vs;
    const int rings = 24;
    for (int i = 0; i <= rings; ++i) {
        const float v = static_cast<float>(i) / rings;
        const float elevation = (v - 0.5f) * kPi;
        profile.push_back({kRadius * std::sin(elevation), kRadius * std::cos(elevation)});
        vs.push_back(v);
    }
    profile.front().y = 0;
    profile.back().y = 0;
    Model m;
    m.materials = {{"sky", 255, 255, 255, "sky.tga"}};
    MeshObject dome = lathe(profile, 32, 1, {0, 0, 0}, {}, vs);
    dome.name = "sky";
    dome.material = 0;
    m.objects = {dome};
    return m;
}

Image skyTexture() {
    Image image(512, 256);
    image.shade([](float u, float imageV) {
        const float v = 1 - imageV;  // 0 bottom pole, 0.5 horizon, 1 zenith
        const float elevation = (v - 0.5f) * 180;
        const Color zenith{0.16f, 0.34f, 0.70f, 1};
        const Color horizon{0.72f, 0.82f, 0.92f, 1};
        const Color haze{0.70f, 0.72f, 0.72f, 1};
        Color c;
        if (elevation >= 0) {
            c = mix(horizon, zenith, std::pow(clamp01(elevation / 70), 0.6f));
        } else {
            c = mix(horizon, haze, smoothstep(0, 8, -elevation));
        }
        // Clouds: flattened towards the horizon, tiled around the sky.
        if (elevation > 1) {
            const float squash = 1.0f / (0.15f + elevation / 90);
            const float n = fractalNoise(u * 8, v * 14 * squash * 0.35f, 8, 5, 0.55f, 4242);
            const float cover = smoothstep(0.5f, 0.68f, n) * smoothstep(1, 8, elevation) *
                                (1 - smoothstep(55, 80, elevation));
            const float shade = 0.82f + 0.18f * smoothstep(0.55f, 0.8f, n);
            c = mix(c, scaled({1, 1, 1, 1}, shade), cover * 0.85f);
        }
        // Glow around the sun.
        const float du = (u - kSunU) * std::cos(elevation * kPi / 180) * 2;
        const float dv = (v - kSunV);
        const float d = std::hypot(du, dv);
        c = mix(c, {1, 0.97f, 0.88f, 1},
                0.8f * std::exp(-d * d / 0.0015f) + 0.25f * std::exp(-d * d / 0.02f));
        return c;
    });
    return image;
}

void writeSkyModel(Output& out) {
    out.write("models/sky.3DS", encode3ds(skyModel()));
    out.writeTga("textures/sky.tga", skyTexture(), 24, TgaPacking::Raw);
}

}  // namespace datagen
