#include "support/test_images.h"

#include <algorithm>
#include <filesystem>

namespace testing_support {
namespace {

// `value` as `bytes` little-endian bytes.
std::string le(std::int64_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(i < 8 ? value >> (8 * i) : 0));
    return out;
}

std::string solidBgr(int count, Rgb colour) {
    std::string body;
    for (int i = 0; i < count; ++i) body += {char(colour[2]), char(colour[1]), char(colour[0])};
    return body;
}

constexpr const char* kScreenImages[] = {
    "back.tga",      "start_sel.tga",    "start.tga",      "config_sel.tga", "config.tga",
    "story_sel.tga", "story.tga",        "about_sel.tga",  "about.tga",      "exit_sel.tga",
    "exit.tga",      "controls_sel.tga", "controls.tga",   "game_sel.tga",   "game.tga",
    "save_sel.tga",  "save.tga",         "cancel_sel.tga", "cancel.tga",     "portrait_a.bmp",
    "portrait_b.bmp"};

}  // namespace

std::string tgaFile(int type, int width, int height, int bits, const std::string& body,
                    const std::string& imageId) {
    return le(imageId.size(), 1) + le(0, 1) + le(type, 1) + le(0, 9) + le(width, 2) +
           le(height, 2) + le(bits, 1) + le(0, 1) + imageId + body;
}

std::string solidTga(int width, int height, Rgb colour) {
    return tgaFile(2, width, height, 24, solidBgr(width * height, colour));
}

std::string bmpFile(int width, int height, Rgb (*pixel)(int x, int y), bool topDown) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const int imageBytes = rowBytes * height;
    std::string out = "BM" + le(54 + imageBytes, 4) + le(0, 4) + le(54, 4) + le(40, 4) +
                      le(width, 4) + le(topDown ? -height : height, 4) + le(1, 2) + le(24, 2) +
                      le(0, 4) + le(imageBytes, 4) + le(2835, 4) + le(2835, 4) + le(0, 8);
    for (int i = 0; i < height; ++i) {
        for (int x = 0; x < width; ++x) out += solidBgr(1, pixel(x, topDown ? i : height - 1 - i));
        out.resize(54 + static_cast<std::size_t>((i + 1) * rowBytes), '\0');  // the padding
    }
    return out;
}

std::string solidBmp(int width, int height, Rgb colour) {
    static Rgb s_colour;
    s_colour = colour;
    return bmpFile(width, height, [](int, int) { return s_colour; });
}

std::string wavFile(const std::vector<std::int16_t>& samples, int rate) {
    // PCM, mono, two bytes a sample.
    const auto dataBytes = static_cast<std::int64_t>(samples.size() * 2);
    std::string out = "RIFF" + le(36 + dataBytes, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) +
                      le(1, 2) + le(rate, 4) + le(rate * 2, 4) + le(2, 2) + le(16, 2) + "data" +
                      le(dataBytes, 4);
    for (const std::int16_t s : samples) out += le(s, 2);
    return out;
}

Rgb screenImageColour(const std::string& name) {
    // Distinct red values per image, so a pixel read back names its image.
    const int index =
        static_cast<int>(std::find(std::begin(kScreenImages), std::end(kScreenImages), name) -
                         std::begin(kScreenImages));
    return {static_cast<std::uint8_t>(20 + 10 * index), static_cast<std::uint8_t>(230 - 7 * index),
            static_cast<std::uint8_t>(60 + 67 * index % 160)};
}

void writeScreenImages(const std::string& dir) {
    for (const std::string name : kScreenImages) {
        const std::string path = dir + "/textures/" + name;
        const Rgb c = screenImageColour(name);
        if (!std::filesystem::exists(path))
            writeFile(path, name.ends_with(".bmp") ? solidBmp(8, 8, c) : solidTga(8, 8, c));
    }
}

}  // namespace testing_support
