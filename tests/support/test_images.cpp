#include "support/test_images.h"

#include <algorithm>
#include <filesystem>

namespace testing_support {
namespace {

// Little-endian fields of `bytes` bytes each.
std::string le(std::initializer_list<std::pair<std::uint32_t, int>> fields) {
    std::string out;
    for (const auto& [value, bytes] : fields)
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
    return out;
}

std::string solidBgr(int count, Rgb colour) {
    std::string body;
    for (int i = 0; i < count; ++i) body += {char(colour[2]), char(colour[1]), char(colour[0])};
    return body;
}

constexpr const char* kScreenImages[] = {
    "back.tga",       "start_sel.tga",    "start.tga",      "config_sel.tga", "config.tga",
    "story_sel.tga",  "story.tga",        "about_sel.tga",  "about.tga",      "exit_sel.tga",
    "exit.tga",       "controls_sel.tga", "controls.tga",   "game_sel.tga",   "game.tga",
    "save_sel.tga",   "save.tga",         "cancel_sel.tga", "cancel.tga",     "portrait_a.bmp",
    "portrait_b.bmp",
};

}  // namespace

std::string tgaFile(int type, int width, int height, int bits, const std::string& body,
                    const std::string& imageId) {
    const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
    return le({{static_cast<std::uint32_t>(imageId.size()), 1},
               {0, 1},
               {static_cast<std::uint32_t>(type), 1},
               {0, 4},
               {0, 4},
               {0, 1},
               {w, 2},
               {h, 2},
               {static_cast<std::uint32_t>(bits), 1},
               {0, 1}}) +
           imageId + body;
}

std::string solidTga(int width, int height, Rgb colour) {
    return tgaFile(2, width, height, 24, solidBgr(width * height, colour));
}

std::string bmpFile(int width, int height, Rgb (*pixel)(int x, int y), bool topDown) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const auto imageBytes = static_cast<std::uint32_t>(rowBytes * height);
    std::string out = "BM" + le({{54 + imageBytes, 4},
                                 {0, 4},
                                 {54, 4},
                                 {40, 4},
                                 {static_cast<std::uint32_t>(width), 4},
                                 {static_cast<std::uint32_t>(topDown ? -height : height), 4},
                                 {1, 2},
                                 {24, 2},
                                 {0, 4},
                                 {imageBytes, 4},
                                 {2835, 4},
                                 {2835, 4},
                                 {0, 4},
                                 {0, 4}});
    for (int i = 0; i < height; ++i) {
        std::string line;
        for (int x = 0; x < width; ++x) line += solidBgr(1, pixel(x, topDown ? i : height - 1 - i));
        line.resize(static_cast<std::size_t>(rowBytes), '\0');
        out += line;
    }
    return out;
}

std::string solidBmp(int width, int height, Rgb colour) {
    static Rgb s_colour;
    s_colour = colour;
    return bmpFile(width, height, [](int, int) { return s_colour; });
}

std::string wavFile(const std::vector<std::int16_t>& samples, int rate) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    const auto r = static_cast<std::uint32_t>(rate);
    std::string out =
        "RIFF" + le({{36 + dataBytes, 4}}) + "WAVEfmt " +
        le({{16, 4}, {1, 2}, {1, 2}, {r, 4}, {r * 2, 4}, {2, 2}, {16, 2}}) +  // PCM, mono
        "data" + le({{dataBytes, 4}});
    for (const std::int16_t s : samples) out += le({{static_cast<std::uint16_t>(s), 2}});
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
        const Rgb colour = screenImageColour(name);
        if (!std::filesystem::exists(path))
            writeFile(path,
                      name.ends_with(".bmp") ? solidBmp(8, 8, colour) : solidTga(8, 8, colour));
    }
}

}  // namespace testing_support
