#include "support/test_images.h"

#include <filesystem>
#include <fstream>

namespace testing_support {
namespace {

void put16(std::string& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
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
    std::string out;
    out.push_back(static_cast<char>(imageId.size()));
    out.push_back(0);
    out.push_back(static_cast<char>(type));
    out.append(9, '\0');
    put16(out, static_cast<unsigned>(width));
    put16(out, static_cast<unsigned>(height));
    out.push_back(static_cast<char>(bits));
    out.push_back(0);
    return out + imageId + body;
}

std::string solidTga(int width, int height, Rgb colour) {
    std::string body;
    for (int i = 0; i < width * height; ++i) {
        body.push_back(static_cast<char>(colour[2]));
        body.push_back(static_cast<char>(colour[1]));
        body.push_back(static_cast<char>(colour[0]));
    }
    return tgaFile(2, width, height, 24, body);
}

std::string bmpFile(int width, int height, Rgb (*pixel)(int x, int y), bool topDown) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const auto imageBytes = static_cast<std::uint32_t>(rowBytes * height);
    std::string out = "BM";
    put32(out, 54 + imageBytes);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(topDown ? -height : height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, imageBytes);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int i = 0; i < height; ++i) {
        const int row = topDown ? i : height - 1 - i;
        std::string line;
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, row);
            line.push_back(static_cast<char>(c[2]));
            line.push_back(static_cast<char>(c[1]));
            line.push_back(static_cast<char>(c[0]));
        }
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
    std::string out = "RIFF";
    put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, static_cast<std::uint32_t>(rate));
    put32(out, static_cast<std::uint32_t>(rate * 2));
    put16(out, 2);
    put16(out, 16);
    out += "data";
    put32(out, dataBytes);
    for (const std::int16_t s : samples) put16(out, static_cast<std::uint16_t>(s));
    return out;
}

Rgb screenImageColour(const std::string& name) {
    // Distinct red values per image, so a pixel read back names its image.
    int index = 0;
    for (const char* image : kScreenImages) {
        if (name == image) break;
        ++index;
    }
    return {static_cast<std::uint8_t>(20 + 10 * index), static_cast<std::uint8_t>(230 - 7 * index),
            static_cast<std::uint8_t>(60 + 67 * index % 160)};
}

void writeScreenImages(const std::string& dir) {
    std::filesystem::create_directories(dir + "/textures");
    for (const char* name : kScreenImages) {
        const std::string file = std::string(name);
        const Rgb colour = screenImageColour(file);
        const bool bmp = file.ends_with(".bmp");
        if (std::filesystem::exists(dir + "/textures/" + file)) continue;
        writeFile(dir + "/textures/" + file, bmp ? solidBmp(8, 8, colour) : solidTga(8, 8, colour));
    }
}

void writeFile(const std::string& path, const std::string& contents) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << contents;
}

}  // namespace testing_support
