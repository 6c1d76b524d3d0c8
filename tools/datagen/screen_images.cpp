#include <cmath>
#include <string>

#include "font.h"
#include "generators.h"
#include "random.h"
#include "vec.h"

namespace datagen {
namespace {

const Color kInk{0.10f, 0.12f, 0.16f, 1};
const Color kOrange{1.0f, 0.55f, 0.12f, 1};
const Color kPaleText{0.86f, 0.89f, 0.93f, 1};

// The shared background of every 2D screen: light enough for black text, with the title
// at the top where the menu leaves room. Drawn at the 4:3 shape of the window.
Image background() {
    const int w = 683;
    const int h = 512;
    Image image(w, h);
    image.shade([](float u, float v) {
        const Color top{0.80f, 0.85f, 0.90f, 1};
        const Color bottom{0.94f, 0.91f, 0.84f, 1};
        Color c = mix(top, bottom, smoothstep(0.0f, 1.0f, v));
        // Faint diagonal tread marks.
        const float stripe = std::fmod((u * 1.333f + v) * 18.0f, 1.0f);
        const float mark = smoothstep(0.0f, 0.08f, stripe) * (1 - smoothstep(0.12f, 0.2f, stripe));
        c = mix(c, {1, 1, 1, 1}, 0.10f * mark);
        const float grain = fractalNoise(u * 40, v * 30, 40, 3, 0.5f, 7) - 0.5f;
        c = scaled(c, 1.0f + 0.04f * grain);
        // Darker rim.
        const float dx = u - 0.5f;
        const float dy = v - 0.5f;
        return scaled(c, 1.0f - 0.25f * smoothstep(0.25f, 0.55f, dx * dx + dy * dy));
    });
    // Two soft ranges of hills along the bottom, pale enough for black text over them.
    const struct {
        float base, amplitude, frequency;
        Color color;
        uint32_t seed;
    } ranges[] = {{0.80f, 0.09f, 2.5f, {0.74f, 0.79f, 0.85f, 1}, 11},
                  {0.89f, 0.06f, 4.0f, {0.66f, 0.72f, 0.79f, 1}, 12}};
    for (const auto& range : ranges) {
        image.paint(
            0, h * (range.base - range.amplitude * 1.5f), static_cast<float>(w),
            static_cast<float>(h),
            [&](float x, float y) {
                const float u = x / static_cast<float>(w);
                const float ridge =
                    range.base -
                    range.amplitude * (0.5f + 2.5f * (turnedNoise(u * range.frequency, 0.5f, 4,
                                                                  0.5f, range.seed) -
                                                      0.5f));
                return (ridge * static_cast<float>(h) - y);
            },
            range.color);
    }
    // Title with a soft shadow and an orange rule.
    const float titleSize = 62;
    Mask title = boldFont().renderCentred("VOKA ARENA", titleSize, w * 0.5f, h * 0.075f, w, h);
    compose(image, blurred(title, 3), {0, 0, 0, 1}, 0.45f);
    compose(image, title, kInk);
    const float half = boldFont().measure("VOKA ARENA", titleSize) * 0.5f;
    image.fillRoundedRect(w * 0.5f - half, h * 0.128f, w * 0.5f + half, h * 0.128f + 5, 2, kOrange);
    // Corner brackets frame the screen.
    const Color frame{0.25f, 0.30f, 0.38f, 0.8f};
    for (int corner = 0; corner < 4; ++corner) {
        const float x = corner % 2 == 0 ? 14.0f : w - 14.0f;
        const float y = corner / 2 == 0 ? 14.0f : h - 14.0f;
        const float sx = corner % 2 == 0 ? 1.0f : -1.0f;
        const float sy = corner / 2 == 0 ? 1.0f : -1.0f;
        image.line(x, y, x + sx * 60, y, 4, frame);
        image.line(x, y, x, y + sy * 60, 4, frame);
    }
    return resampled(image, 512, 512);
}

// A button plate filling the whole image, drawn at the shape it has on screen and with a
// label; `selected` gives the highlighted version.
Image button(const std::string& label, int screenWidth, int height, bool selected, float textSize) {
    const int w = screenWidth;
    const int h = height;
    Image image(w, h);
    const Color top = selected ? Color{1.0f, 0.68f, 0.22f, 1} : Color{0.24f, 0.28f, 0.35f, 1};
    const Color bottom = selected ? Color{0.86f, 0.33f, 0.05f, 1} : Color{0.11f, 0.13f, 0.17f, 1};
    image.shade([&](float, float v) {
        Color c = mix(top, bottom, v);
        // Gloss on the upper half.
        if (v < 0.45f) c = mix(c, {1, 1, 1, 1}, 0.10f * (1 - v / 0.45f));
        return c;
    });
    const float border = std::max(2.0f, h * 0.045f);
    const Color edge = selected ? Color{1, 0.95f, 0.8f, 1} : Color{0.55f, 0.62f, 0.72f, 1};
    image.paint(
        0, 0, static_cast<float>(w), static_cast<float>(h),
        [&](float x, float y) {
            const float inner =
                roundedRectDistance(x, y, border, border, w - border, h - border, border * 2);
            return -inner;  // everything outside the inner rounded rectangle
        },
        edge);
    const float cx = w * 0.5f;
    const float cy = h * 0.52f;
    Mask text = boldFont().renderCentred(label, textSize, cx, cy, w, h);
    if (selected) {
        compose(image, blurred(text, std::max(1, h / 40)), {0.35f, 0.08f, 0, 1}, 0.9f);
        compose(image, text, {1, 1, 1, 1});
        // Chevrons point at the chosen entry.
        const float half = boldFont().measure(label, textSize) * 0.5f + h * 0.35f;
        for (float side : {-1.0f, 1.0f}) {
            const float x = cx + side * half;
            const float s = h * 0.16f;
            image.line(x - side * s, cy - s, x, cy, h * 0.07f, {1, 1, 1, 1});
            image.line(x, cy, x - side * s, cy + s, h * 0.07f, {1, 1, 1, 1});
        }
    } else {
        compose(image, blurred(text, std::max(1, h / 50)), {0, 0, 0, 1}, 0.7f);
        compose(image, text, kPaleText);
    }
    return image;
}

// A stylised driver: racing helmet with a visor and a suit in the team colour, drawn at
// the 7:6 shape of the about screen's picture frames.
Image portrait(const Color& team, const Color& stripe, uint32_t seed) {
    const int w = 299;
    const int h = 256;
    Image image(w, h);
    image.shade([&](float u, float v) {
        const float d = std::hypot(u - 0.5f, (v - 0.42f) * 0.9f);
        Color c =
            mix({0.93f, 0.94f, 0.96f, 1}, {0.55f, 0.62f, 0.72f, 1}, smoothstep(0.1f, 0.75f, d));
        const float n = fractalNoise(u * 12, v * 12, 12, 3, 0.5f, seed) - 0.5f;
        return scaled(c, 1 + 0.05f * n);
    });
    const float cx = w * 0.5f;
    // Shoulders and suit.
    const Color suitDark = scaled(team, 0.55f);
    image.paint(
        0, h * 0.62f, static_cast<float>(w), static_cast<float>(h),
        [&](float x, float y) {
            const float dx = (x - cx) / 1.0f;
            const float dy = y - h * 1.18f;
            return std::hypot(dx * 0.78f, dy) - h * 0.52f;
        },
        suitDark);
    image.paint(
        0, h * 0.64f, static_cast<float>(w), static_cast<float>(h),
        [&](float x, float y) {
            const float dx = x - cx;
            const float dy = y - h * 1.2f;
            return std::hypot(dx * 0.8f, dy) - h * 0.5f;
        },
        team);
    // Collar and a stripe down the chest.
    image.fillRoundedRect(cx - w * 0.11f, h * 0.70f, cx + w * 0.11f, h * 0.80f, 10,
                          scaled(team, 0.35f));
    image.fillRoundedRect(cx - w * 0.035f, h * 0.78f, cx + w * 0.035f, h * 1.0f, 4, stripe);
    // Helmet shell.
    const float hx = cx;
    const float hy = h * 0.43f;
    const float hr = h * 0.27f;
    image.fillDisc(hx, hy + 4, hr, {0, 0, 0, 0.35f});
    image.paint(
        hx - hr, hy - hr, hx + hr, hy + hr,
        [&](float x, float y) { return std::hypot((x - hx) * 0.95f, (y - hy) * 0.92f) - hr; },
        team);
    // Shading of the shell: light from the upper left.
    image.paint(hx - hr, hy - hr, hx + hr, hy + hr,
                [&](float x, float y) {
                    return std::hypot(x - hx - hr * 0.25f, y - hy - hr * 0.3f) - hr * 0.8f;
                },
                {0, 0, 0, 0.0f});
    for (int y = static_cast<int>(hy - hr); y < static_cast<int>(hy + hr); ++y) {
        for (int x = static_cast<int>(hx - hr); x < static_cast<int>(hx + hr); ++x) {
            const float d = std::hypot((static_cast<float>(x) - hx) * 0.95f,
                                       (static_cast<float>(y) - hy) * 0.92f);
            if (d > hr) continue;
            const float light = std::hypot(static_cast<float>(x) - (hx - hr * 0.4f),
                                           static_cast<float>(y) - (hy - hr * 0.45f)) /
                                hr;
            image.blend(x, y, {1, 1, 1, 1}, 0.35f * (1 - smoothstep(0.0f, 0.6f, light)));
            image.blend(x, y, {0, 0, 0, 1}, 0.35f * smoothstep(0.7f, 1.0f, d / hr));
        }
    }
    // Racing stripe over the top.
    image.paint(
        hx - hr, hy - hr, hx + hr, hy,
        [&](float x, float y) {
            const float inside = std::hypot((x - hx) * 0.95f, (y - hy) * 0.92f) - hr;
            return std::max(inside, std::fabs(x - hx) - hr * 0.12f);
        },
        stripe);
    // Visor: dark glass with a reflection of the sky.
    const float vy = hy + hr * 0.12f;
    image.fillRoundedRect(hx - hr * 0.78f, vy - hr * 0.2f, hx + hr * 0.78f, vy + hr * 0.38f,
                          hr * 0.25f, {0.05f, 0.06f, 0.10f, 1});
    image.paint(hx - hr * 0.7f, vy - hr * 0.15f, hx + hr * 0.7f, vy + hr * 0.1f,
                [&](float x, float y) {
                    return roundedRectDistance(x, y, hx - hr * 0.65f, vy - hr * 0.14f,
                                               hx + hr * 0.1f, vy - hr * 0.02f, 4);
                },
                {0.55f, 0.75f, 0.95f, 0.55f});
    // Chin guard.
    image.fillRoundedRect(hx - hr * 0.5f, hy + hr * 0.62f, hx + hr * 0.5f, hy + hr * 0.92f,
                          hr * 0.14f, scaled(team, 0.7f));
    // A dark frame, as on a photograph pinned to the wall.
    image.paint(0, 0, static_cast<float>(w), static_cast<float>(h),
                [&](float x, float y) {
                    return -roundedRectDistance(x, y, 5, 5, static_cast<float>(w) - 5,
                                                static_cast<float>(h) - 5, 6);
                },
                {0.16f, 0.18f, 0.22f, 1});
    return resampled(image, 256, 256);
}

}  // namespace

void writeScreenImages(Output& out) {
    out.writeTga("textures/back.tga", background(), 24, TgaPacking::Raw);

    // Menu entries show at 480 × 75 pixels in an 800 × 600 window.
    const std::pair<const char*, const char*> entries[] = {{"start", "START GAME"},
                                                           {"config", "CONFIGURATION"},
                                                           {"story", "STORY"},
                                                           {"about", "ABOUT"},
                                                           {"exit", "EXIT"}};
    for (const auto& [file, label] : entries) {
        for (bool selected : {false, true}) {
            const Image plate = button(label, 820, 128, selected, 74);
            const std::string name =
                std::string("textures/") + file + (selected ? "_sel" : "") + ".tga";
            out.writeTga(name, resampled(plate, 512, 128), 24, TgaPacking::RunLength);
        }
    }
    // Configuration tabs show at about 272 × 63 pixels.
    const std::pair<const char*, const char*> tabs[] = {
        {"controls", "Controls"}, {"game", "Game"}, {"save", "Save"}, {"cancel", "Cancel"}};
    for (const auto& [file, label] : tabs) {
        for (bool selected : {false, true}) {
            const Image plate = button(label, 276, 64, selected, 30);
            const std::string name =
                std::string("textures/") + file + (selected ? "_sel" : "") + ".tga";
            out.writeTga(name, resampled(plate, 256, 64), 32, TgaPacking::RunLength);
        }
    }
    out.writeBmp("textures/portrait_a.bmp",
                 portrait({0.78f, 0.12f, 0.10f, 1}, {0.95f, 0.95f, 0.95f, 1}, 3));
    out.writeBmp("textures/portrait_b.bmp",
                 portrait({0.16f, 0.58f, 0.22f, 1}, {0.98f, 0.82f, 0.20f, 1}, 4));
}

}  // namespace datagen
