// Random and mutated image files: the decoders must never crash, hang or read or write
// past a buffer (the sanitizer build checks the last two), and an image they accept
// must have exactly the pixels its size promises.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "render/bmp_image.h"
#include "render/tga_image.h"
#include "support/test_images.h"

namespace {

using testing_support::Rgb;

std::string mutate(std::string bytes, std::mt19937& rng) {
    const int edits = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < edits; ++i) {
        const std::size_t at = bytes.empty() ? 0 : rng() % bytes.size();
        switch (rng() % 5) {
            case 0:
                if (!bytes.empty()) bytes[at] = static_cast<char>(rng());
                break;
            case 1:
                bytes.insert(at, 1, static_cast<char>(rng()));
                break;
            case 2:
                if (!bytes.empty()) bytes.erase(at, 1 + rng() % 16);
                break;
            case 3:
                // Headers matter most: hit the first 54 bytes often.
                if (!bytes.empty())
                    bytes[rng() % std::min<std::size_t>(54, bytes.size())] ^=
                        static_cast<char>(1u << (rng() % 8));
                break;
            default:
                bytes.resize(at);
                break;
        }
    }
    return bytes;
}

void checkTga(const std::string& file) {
    const auto image = decodeTga(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
    if (!image) return;
    ASSERT_TRUE(image->channels == 3 || image->channels == 4);
    ASSERT_EQ(image->data.size(), static_cast<std::size_t>(image->width) *
                                      static_cast<std::size_t>(image->height) *
                                      static_cast<std::size_t>(image->channels));
}

void checkBmp(const std::string& file) {
    const auto image = decodeBmp(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
    if (!image) return;
    ASSERT_EQ(image->rgb.size(),
              static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height) * 3);
}

std::vector<std::string> tgaSeeds() {
    std::string rle;
    for (int i = 0; i < 20; ++i)
        rle += i % 2 == 0 ? "\x83\x01\x02\x03" : "\x01\x04\x05\x06\x07\x08\x09";
    std::string raw32(16 * 16 * 4, '\x55');
    return {testing_support::solidTga(16, 8, {9, 8, 7}),
            testing_support::tgaFile(10, 10, 6, 24, rle, "id"),
            testing_support::tgaFile(2, 16, 16, 32, raw32),
            testing_support::tgaFile(2, 8, 8, 16, std::string(128, '\x7f'))};
}

TEST(ImageFuzz, MutatedTgaFiles) {
    std::mt19937 rng(4242);
    const auto seeds = tgaSeeds();
    for (int round = 0; round < 20000; ++round)
        checkTga(mutate(seeds[static_cast<std::size_t>(round) % seeds.size()], rng));
}

TEST(ImageFuzz, MutatedBmpFiles) {
    std::mt19937 rng(99);
    const std::string seeds[] = {
        testing_support::solidBmp(7, 5, {1, 2, 3}),
        testing_support::bmpFile(16, 3, [](int x, int y) {
            return Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 3};
        })};
    for (int round = 0; round < 20000; ++round) checkBmp(mutate(seeds[round % 2], rng));
}

TEST(ImageFuzz, RandomBytes) {
    std::mt19937 rng(7);
    for (int round = 0; round < 5000; ++round) {
        std::string bytes(rng() % 300, '\0');
        for (char& c : bytes) c = static_cast<char>(rng());
        if (round % 2 == 0 && bytes.size() > 2) bytes[0] = 'B', bytes[1] = 'M';
        checkTga(bytes);
        checkBmp(bytes);
    }
}

}  // namespace
