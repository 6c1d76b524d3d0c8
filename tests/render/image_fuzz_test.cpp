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
    for (int i = 0; i < edits && !bytes.empty(); ++i) {
        const std::size_t at = rng() % bytes.size();
        switch (rng() % 5) {
            case 0:
                bytes[at] = static_cast<char>(rng());
                break;
            case 1:
                bytes.insert(at, 1, static_cast<char>(rng()));
                break;
            case 2:
                bytes.erase(at, 1 + rng() % 16);
                break;
            case 3:  // headers matter most: hit the first 54 bytes often
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

// Both decoders on the same bytes.
void check(const std::string& file) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file.data());
    if (const auto tga = decodeTga(bytes, file.size())) {
        ASSERT_TRUE(tga->channels == 3 || tga->channels == 4);
        ASSERT_EQ(tga->data.size(), std::size_t(tga->width) * tga->height * tga->channels);
    }
    if (const auto bmp = decodeBmp(bytes, file.size())) {
        ASSERT_EQ(bmp->rgb.size(), std::size_t(bmp->width) * bmp->height * 3);
    }
}

TEST(ImageFuzz, MutatedFiles) {
    std::string rle;
    for (int i = 0; i < 20; ++i)
        rle += i % 2 == 0 ? "\x83\x01\x02\x03" : "\x01\x04\x05\x06\x07\x08\x09";
    const std::string seeds[] = {
        testing_support::solidTga(16, 8, {9, 8, 7}),
        testing_support::tgaFile(10, 10, 6, 24, rle, "id"),
        testing_support::tgaFile(2, 16, 16, 32, std::string(16 * 16 * 4, '\x55')),
        testing_support::tgaFile(2, 8, 8, 16, std::string(128, '\x7f')),
        testing_support::solidBmp(7, 5, {1, 2, 3}),
        testing_support::bmpFile(16, 3, [](int x, int y) {
            return Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 3};
        })};
    std::mt19937 rng(4242);
    for (int round = 0; round < 40000; ++round) {
        check(mutate(seeds[round % std::size(seeds)], rng));
        if (HasFatalFailure()) return;
    }
}

TEST(ImageFuzz, RandomBytes) {
    std::mt19937 rng(7);
    for (int round = 0; round < 5000; ++round) {
        std::string bytes(rng() % 300, '\0');
        for (char& c : bytes) c = static_cast<char>(rng());
        if (round % 2 == 0 && bytes.size() > 2) bytes[0] = 'B', bytes[1] = 'M';
        check(bytes);
    }
}

}  // namespace
