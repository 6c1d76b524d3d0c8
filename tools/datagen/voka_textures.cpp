#include "voka_textures.h"

#include <cmath>

#include "random.h"
#include "vec.h"
#include "voka_model.h"

namespace datagen {
namespace {

// Texture rows run top-down in the image, but t = 0 (the bottom centre of the body) is
// the bottom row of the file.
float tOf(float imageV) {
    return 1 - imageV;
}

// Distance of t to the nearest of the two mirrored side bands' positions.
float sideT(float t) {
    return t < 0.5f ? t : 1 - t;
}

bool inside(float u, float t, float u0, float u1, float t0, float t1) {
    return u >= u0 && u <= u1 && t >= t0 && t <= t1;
}

Color glass(float u, float t, float t0, float t1) {
    const float h = clamp01((t - t0) / (t1 - t0));
    Color c = mix({0.05f, 0.07f, 0.10f, 1}, {0.30f, 0.40f, 0.52f, 1}, h * h);
    // A diagonal reflection streak.
    const float streak = std::fabs(std::fmod(u * 9 + h * 1.5f, 1.0f) - 0.5f);
    return mix(c, {0.75f, 0.85f, 0.95f, 1}, 0.35f * (1 - smoothstep(0.03f, 0.09f, streak)));
}

}  // namespace

Image vokaBodyTexture(const Color& paint, const Color& stripe, uint32_t seed) {
    const float windowU0 = vokaBodyU(-0.118f);
    const float windowU1 = vokaBodyU(-0.296f);
    const float rearGlassU0 = vokaBodyU(-0.075f);
    const float rearGlassU1 = vokaBodyU(-0.145f);
    const float screenU0 = vokaBodyU(-0.255f);
    const float screenU1 = vokaBodyU(-0.342f);
    const float roof = VokaBands::kRoof;
    const float belt = VokaBands::kBelt;
    const float skirt = VokaBands::kSkirt;
    Image image(512, 512);
    image.shade([&](float u, float imageV) {
        const float t = tOf(imageV);
        const float s = sideT(t);  // 0 bottom centre, 0.5 top centre
        const float grime = fractalNoise(u * 24, t * 24, 24, 4, 0.55f, seed);
        // Paint: darker towards the bottom, a light shoulder along the belt line.
        Color c = scaled(paint, 0.72f + 0.35f * smoothstep(skirt, roof, s));
        c = mix(c, {1, 1, 1, 1}, 0.18f * std::exp(-std::pow((s - belt - 0.015f) / 0.012f, 2.0f)));
        // Racing stripes over the top, the length of the car.
        const float fromTop = std::fabs(t - 0.5f);
        if (fromTop > 0.018f && fromTop < 0.045f) c = stripe;
        // Underside and dirty skirts.
        if (s < skirt) c = mix({0.12f, 0.12f, 0.13f, 1}, c, smoothstep(0.03f, skirt, s));
        c = mix(c, {0.30f, 0.24f, 0.18f, 1}, 0.5f * (1 - smoothstep(skirt, 0.13f, s)) * grime);
        // Panel seams: doors, bonnet, boot.
        const float seams[] = {vokaBodyU(-0.12f), vokaBodyU(-0.295f), vokaBodyU(-0.35f),
                               vokaBodyU(0.03f)};
        for (float seam : seams) {
            if (std::fabs(u - seam) < 0.0025f && s > skirt) c = scaled(c, 0.45f);
        }
        // Side windows with a pillar in the middle.
        const bool sideWindow = inside(u, s, windowU0, windowU1, belt + 0.012f, roof - 0.004f);
        if (sideWindow) {
            const float pillar = vokaBodyU(-0.2f);
            c = std::fabs(u - pillar) < 0.01f ? Color{0.06f, 0.06f, 0.07f, 1}
                                              : glass(u, s, belt, roof);
        }
        // Rear window and windscreen between the roof edges.
        if (inside(u, t, rearGlassU0, rearGlassU1, roof + 0.03f, 1 - roof - 0.03f) ||
            inside(u, t, screenU0, screenU1, roof + 0.02f, 1 - roof - 0.02f)) {
            c = glass(u, 0.5f - std::fabs(t - 0.5f), roof, 0.5f);
        }
        // Rubber frames around the glass.
        const bool nearSideWindow =
            inside(u, s, windowU0 - 0.006f, windowU1 + 0.006f, belt + 0.004f, roof + 0.002f);
        if (nearSideWindow && !sideWindow) c = {0.05f, 0.05f, 0.06f, 1};
        // Light wear everywhere.
        return scaled(c, 0.94f + 0.1f * grime);
    });
    // Team emblem on both doors: a white disc with a dark chevron.
    const float emblemU = vokaBodyU(-0.205f) * 512;
    for (float t : {0.135f, 0.865f}) {
        const float cy = (1 - t) * 512;
        image.paint(
            emblemU - 30, cy - 16, emblemU + 30, cy + 16,
            [&](float x, float y) { return std::hypot((x - emblemU) / 1.8f, y - cy) - 14.5f; },
            {0.96f, 0.96f, 0.94f, 1});
        image.paint(
            emblemU - 30, cy - 16, emblemU + 30, cy + 16,
            [&](float x, float y) {
                const float ring =
                    std::fabs(std::hypot((x - emblemU) / 1.8f, y - cy) - 11.5f) - 1.0f;
                return ring;
            },
            scaled(paint, 0.6f));
        const float dir = t < 0.5f ? 1.0f : -1.0f;
        image.line(emblemU - 14, cy - 6 * dir, emblemU, cy + 6 * dir, 4, {0.08f, 0.08f, 0.1f, 1});
        image.line(emblemU, cy + 6 * dir, emblemU + 14, cy - 6 * dir, 4, {0.08f, 0.08f, 0.1f, 1});
    }
    return image;
}

Image vokaWheelTexture() {
    Image image(256, 256);
    image.shade([](float u, float imageV) {
        const float t = tOf(imageV);
        const Color rubber{0.09f, 0.09f, 0.10f, 1};
        Color c = rubber;
        if (t > 0.25f && t < 0.75f) {
            // Chunky tread blocks in two staggered rows.
            const float across = (t - 0.25f) / 0.5f;
            const float row = across < 0.5f ? 0.0f : 0.5f;
            const float block = std::fmod(u * 24 + row, 1.0f);
            const bool groove = block < 0.22f || std::fabs(across - 0.5f) < 0.05f;
            c = groove ? Color{0.03f, 0.03f, 0.035f, 1} : Color{0.14f, 0.14f, 0.15f, 1};
        } else if (t >= 0.84f && t < 0.95f) {
            // Rim face with five spokes.
            const float angle = std::fmod(u * 5, 1.0f);
            const bool spoke = std::fabs(angle - 0.5f) < 0.13f;
            const float radial = (t - 0.84f) / 0.11f;
            c = spoke ? mix({0.78f, 0.8f, 0.84f, 1}, {0.55f, 0.57f, 0.6f, 1}, radial)
                      : Color{0.07f, 0.07f, 0.08f, 1};
            if (radial < 0.12f) c = {0.7f, 0.72f, 0.76f, 1};
        } else if (t >= 0.95f) {
            // Hub cap with bolts.
            c = {0.85f, 0.86f, 0.88f, 1};
            if (std::fabs(std::fmod(u * 6, 1.0f) - 0.5f) < 0.08f && t < 0.975f)
                c = {0.25f, 0.25f, 0.28f, 1};
        } else if (t >= 0.82f) {
            c = {0.62f, 0.64f, 0.68f, 1};  // rim lip
        } else {
            // Sidewall with a thin white ring.
            const float ring = std::fabs(sideT(t) - 0.215f);
            if (ring < 0.006f) c = {0.8f, 0.8f, 0.8f, 1};
        }
        return c;
    });
    return image;
}

}  // namespace datagen
