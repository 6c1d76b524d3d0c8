#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "font.h"
#include "generators.h"
#include "random.h"
#include "vec.h"

namespace datagen {
namespace {

// Colour of fire by temperature in [0, 1]: dark red through orange and yellow to white.
Color fire(float t) {
    t = clamp01(t);
    if (t < 0.35f) return mix({0, 0, 0, 1}, {0.75f, 0.12f, 0.02f, 1}, t / 0.35f);
    if (t < 0.65f)
        return mix({0.75f, 0.12f, 0.02f, 1}, {1.0f, 0.55f, 0.08f, 1}, (t - 0.35f) / 0.3f);
    if (t < 0.88f) return mix({1.0f, 0.55f, 0.08f, 1}, {1.0f, 0.9f, 0.45f, 1}, (t - 0.65f) / 0.23f);
    return mix({1.0f, 0.9f, 0.45f, 1}, {1, 1, 1, 1}, (t - 0.88f) / 0.12f);
}

// Frame `i` of 15 of the explosion flip-book, on black because it is added to the scene.
// The bottom edge of the picture stands on the ground: a flash, then a cluster of fire
// puffs that swell, rise and cool from white through orange to a dim red glow.
Image explosionFrame(int i) {
    const int size = 128;
    const float t = static_cast<float>(i) / 14.0f;
    struct Puff {
        float x, y, radius, rise;
    };
    Random random(777);
    std::vector<Puff> puffs;
    for (int k = 0; k < 9; ++k) {
        const float angle = random.range(0, 2 * kPi);
        const float distance = random.range(0.02f, 0.16f);
        puffs.push_back({0.5f + distance * std::cos(angle),
                         0.8f + 0.6f * distance * std::sin(angle), random.range(0.07f, 0.12f),
                         random.range(0.15f, 0.35f)});
    }
    // Centre the cluster so the fireball rises straight up.
    float meanX = 0;
    for (const Puff& p : puffs) meanX += p.x / static_cast<float>(puffs.size());
    for (Puff& p : puffs) p.x += 0.5f - meanX;
    const float growth = 1.0f + 2.2f * std::sqrt(t);
    const float heat = 1.05f - 0.8f * t;
    Image image(size, size);
    image.shade([&](float u, float v) {
        const float n = fractalNoise(u * 7, v * 7 + t * 2.5f, 7, 4, 0.55f, 91);
        const float mottle = fractalNoise(u * 16, v * 16 - t * 4, 16, 3, 0.5f, 92);
        float field = -1;
        for (const Puff& p : puffs) {
            const float r = p.radius * growth;
            const float cy = p.y - p.rise * t - 0.08f * std::sqrt(t);
            const float d = std::hypot(u - p.x - 1.4f * (p.x - 0.5f) * t, (v - cy) * 1.1f) / r;
            field = std::max(field, 1 - d);
        }
        field += 0.35f * (n - 0.5f);
        const float body = smoothstep(0.0f, 0.25f, field);
        // Hot cores early, a cooler glow later.
        float temperature = body * (heat * (0.4f + 0.8f * field) + 0.45f * (mottle - 0.5f));
        // A ground splash for the first frames.
        const float ground = std::exp(-std::pow((v - 0.97f) / 0.04f, 2.0f)) *
                             std::exp(-std::pow((u - 0.5f) / (0.15f + 0.5f * t), 2.0f)) *
                             (1 - smoothstep(0.0f, 0.5f, t));
        temperature = std::max(temperature, ground * 0.8f);
        Color c = scaled(fire(temperature), std::max(body, ground) * (1 - 0.55f * t * t));
        if (i < 2) {
            const float flash =
                std::exp(-(std::pow(u - 0.5f, 2.0f) + std::pow(v - 0.8f, 2.0f)) / 0.02f);
            c = mix(c, {1, 1, 0.9f, 1}, flash * (i == 0 ? 0.9f : 0.4f));
        }
        return c;
    });
    return image;
}

// A square image shaded by distance from its centre (0 there, 1 at the edge's middle)
// and the angle about it.
template <typename Shade>
Image radialImage(int size, Shade shade) {
    Image image(size, size);
    image.shade([&](float u, float v) {
        const float dx = u - 0.5f;
        const float dy = v - 0.5f;
        return shade(std::hypot(dx, dy) * 2, std::atan2(dy, dx));
    });
    return image;
}

// A radial glow with alpha, for beams: the middle row is the band's profile.
Image circleTexture() {
    return radialImage(64, [](float d, float) {
        const float core = std::exp(-d * d * 18);
        const float glow = std::pow(clamp01(1 - d), 2.0f);
        const float a = clamp01(0.85f * glow + core);
        return Color{clamp01(0.75f + 0.25f * core), clamp01(0.85f + 0.15f * core), 1.0f, a};
    });
}

Image glow(int size, float falloff, const Color& tint) {
    return radialImage(
        size, [&](float d, float) { return scaled(tint, std::pow(clamp01(1 - d), falloff)); });
}

// The big glare on the sun: a bright core, a soft corona and thin rays.
Image bigGlow() {
    return radialImage(256, [](float d, float angle) {
        const float rays = std::pow(std::fabs(std::cos(angle * 6)), 40.0f) * 0.35f +
                           std::pow(std::fabs(std::cos(angle * 6 + 0.26f)), 60.0f) * 0.2f;
        const float g = std::pow(clamp01(1 - d), 3.0f) + std::exp(-d * d * 60) +
                        rays * std::pow(clamp01(1 - d), 1.5f);
        return Color{clamp01(g), clamp01(g * 0.97f), clamp01(g * 0.9f), 1};
    });
}

Image halo() {
    return radialImage(128, [](float d, float) {
        const float ring = std::exp(-std::pow((d - 0.78f) / 0.07f, 2.0f));
        const float inner = 0.12f * std::pow(clamp01(d / 0.78f), 4.0f) * (d < 0.78f ? 1.0f : 0.0f);
        const float g = clamp01(ring + inner);
        return Color{g, g, g, 1};
    });
}

Image streaks() {
    return radialImage(256, [](float d, float angle) {
        float g = 0;
        for (int k = 0; k < 4; ++k) {
            const float a = angle - static_cast<float>(k) * kPi / 4;
            const float across = std::fabs(std::sin(a)) * d;
            g += std::exp(-across * across * 3000) * clamp01(1 - d) * (k % 2 == 0 ? 1.0f : 0.5f);
        }
        g += std::exp(-d * d * 80);
        return Color{clamp01(g), clamp01(g), clamp01(g), 1};
    });
}

// The crosshair and its mask: the mask (multiplied into the scene) is white with the
// crosshair's outline in black, so the added bright crosshair keeps a dark rim.
void crosshairShape(Image& image, const Color& color, float grow) {
    const float c = image.width() * 0.5f;
    const float s = static_cast<float>(image.width()) / 256.0f;
    image.strokeCircle(c, c, 22 * s, (2.5f + grow) * s, color);
    for (int k = 0; k < 4; ++k) {
        const float dx = k == 0 ? 1.0f : (k == 1 ? -1.0f : 0.0f);
        const float dy = k == 2 ? 1.0f : (k == 3 ? -1.0f : 0.0f);
        image.line(c + dx * 30 * s, c + dy * 30 * s, c + dx * 52 * s, c + dy * 52 * s,
                   (3 + grow) * s, color);
    }
    image.fillDisc(c, c, (2.2f + grow * 0.5f) * s, color);
}

Image crosshair() {
    Image image(256, 256);
    crosshairShape(image, {0.35f, 1.0f, 0.45f, 1}, 0);
    return image;
}

Image crosshairMask() {
    Image image(256, 256, {1, 1, 1, 1});
    crosshairShape(image, {0, 0, 0, 1}, 3);
    return image;
}

// Weapon icons are added to the scene: bright outline drawings on black with a label.
Image weaponIcon(bool rail) {
    const int w = 256;
    const int h = 128;
    Image image(w, h);
    const Color ink = rail ? Color{0.35f, 0.75f, 1.0f, 1} : Color{1.0f, 0.75f, 0.3f, 1};
    if (rail) {
        image.fillRoundedRect(30, 52, 200, 66, 5, ink);
        image.fillRoundedRect(60, 40, 170, 78, 8, scaled(ink, 0.5f));
        for (int k = 0; k < 6; ++k) {
            const float x = 70 + static_cast<float>(k) * 17;
            image.fillRoundedRect(x, 36, x + 8, 82, 3, ink);
        }
        image.fillRoundedRect(200, 48, 232, 70, 4, {0.8f, 0.95f, 1, 1});
        image.fillRoundedRect(20, 62, 64, 92, 6, scaled(ink, 0.7f));
    } else {
        for (int k = 0; k < 3; ++k) {
            const float y = 46 + static_cast<float>(k) * 9;
            image.fillRoundedRect(120, y, 236, y + 6, 3, ink);
        }
        image.fillRoundedRect(40, 38, 130, 84, 10, scaled(ink, 0.6f));
        image.fillRoundedRect(60, 84, 96, 108, 5, scaled(ink, 0.45f));
        image.fillRoundedRect(26, 50, 48, 72, 4, ink);
    }
    Mask label = boldFont().renderCentred(rail ? "RAIL" : "MG", 30, w * 0.5f, h * 0.88f, w, h);
    compose(image, label, {1, 1, 1, 1});
    return image;
}

Image bullet() {
    return glow(32, 2.5f, {1.0f, 0.85f, 0.5f, 1});
}

Image bulletMask() {
    Image image = glow(32, 2.5f, {1, 1, 1, 1});
    image.shade([&image](float u, float v) {
        const Color& c = image.at(static_cast<int>(u * 32), static_cast<int>(v * 32));
        return Color{1 - c.r, 1 - c.g, 1 - c.b, 1};
    });
    return image;
}

}  // namespace

void writeEffectImages(Output& out) {
    for (int i = 0; i < 15; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "textures/expl_a%03i.bmp", i);
        out.writeBmp(name, explosionFrame(i));
    }
    out.writeTga("textures/kreis.tga", circleTexture(), 32, TgaPacking::Raw);
    out.writeBmp("textures/bullet.bmp", bullet());
    out.writeBmp("textures/bullet_mask.bmp", bulletMask());
    out.writeBmp("textures/CrossHair.bmp", crosshair());
    out.writeBmp("textures/CrossHairMask.bmp", crosshairMask());
    out.writeTga("textures/mg.tga", weaponIcon(false), 24, TgaPacking::RunLength);
    out.writeTga("textures/railgun.tga", weaponIcon(true), 24, TgaPacking::RunLength);
    out.writeBmp("textures/Glow.bmp", glow(128, 2.2f, {1, 1, 1, 1}));
    out.writeBmp("textures/BigGlow.bmp", bigGlow());
    out.writeBmp("textures/Halo.bmp", halo());
    out.writeBmp("textures/Streaks.bmp", streaks());
}

}  // namespace datagen
