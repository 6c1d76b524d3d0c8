// Decoding the texture files: every screen, model and the terrain load theirs while the
// player waits, a 512 x 512 image being the common large case.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "render/bmp_image.h"
#include "render/tga_image.h"

namespace {

constexpr int kSide = 512;

void put16(std::string& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::string tgaHeader(int type, int bits) {
    std::string out(2, '\0');
    out.push_back(static_cast<char>(type));
    out.append(9, '\0');
    put16(out, kSide);
    put16(out, kSide);
    out.push_back(static_cast<char>(bits));
    out.push_back(0);
    return out;
}

// Noise-like pixels, so that every byte is read.
std::string rawTga24() {
    std::string out = tgaHeader(2, 24);
    for (int i = 0; i < kSide * kSide * 3; ++i) out.push_back(static_cast<char>(i * 37 % 251));
    return out;
}

// Alternating runs of 8 pixels and raw packets of 8 pixels, as an image with flat areas
// compresses.
std::string rleTga32() {
    std::string out = tgaHeader(10, 32);
    for (int packet = 0; packet < kSide * kSide / 8; ++packet) {
        if (packet % 2 == 0) {
            out.push_back(static_cast<char>(0x87));
            out.append("\x10\x20\x30\x40", 4);
        } else {
            out.push_back(0x07);
            for (int i = 0; i < 32; ++i) out.push_back(static_cast<char>(packet + i));
        }
    }
    return out;
}

std::string bmp24() {
    const std::uint32_t imageBytes = kSide * kSide * 3;
    std::string out = "BM";
    put32(out, 54 + imageBytes);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, kSide);
    put32(out, kSide);
    put16(out, 1);
    put16(out, 24);
    for (int i = 0; i < 6; ++i) put32(out, 0);
    for (std::uint32_t i = 0; i < imageBytes; ++i) out.push_back(static_cast<char>(i * 37 % 251));
    return out;
}

const std::uint8_t* bytes(const std::string& file) {
    return reinterpret_cast<const std::uint8_t*>(file.data());
}

void BM_DecodeRawTga24(benchmark::State& state) {
    const std::string file = rawTga24();
    for (auto _ : state) benchmark::DoNotOptimize(decodeTga(bytes(file), file.size()));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_DecodeRawTga24)->Unit(benchmark::kMillisecond);

void BM_DecodeRunLengthTga32(benchmark::State& state) {
    const std::string file = rleTga32();
    for (auto _ : state) benchmark::DoNotOptimize(decodeTga(bytes(file), file.size()));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_DecodeRunLengthTga32)->Unit(benchmark::kMillisecond);

void BM_DecodeBmp24(benchmark::State& state) {
    const std::string file = bmp24();
    for (auto _ : state) benchmark::DoNotOptimize(decodeBmp(bytes(file), file.size()));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_DecodeBmp24)->Unit(benchmark::kMillisecond);

}  // namespace
