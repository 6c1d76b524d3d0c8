#include "random.h"

namespace datagen {
namespace {

uint32_t hash(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^
                 seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return h;
}

float cellValue(int x, int y, int period, uint32_t seed) {
    const int px = ((x % period) + period) % period;
    const int py = ((y % period) + period) % period;
    return static_cast<float>(hash(px, py, seed) & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float fade(float t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

int floorInt(float v) {
    const int i = static_cast<int>(v);
    return v < static_cast<float>(i) ? i - 1 : i;
}

}  // namespace

float latticeNoise(float x, float y, int period, uint32_t seed) {
    const int x0 = floorInt(x);
    const int y0 = floorInt(y);
    const float fx = fade(x - static_cast<float>(x0));
    const float fy = fade(y - static_cast<float>(y0));
    const float a = cellValue(x0, y0, period, seed);
    const float b = cellValue(x0 + 1, y0, period, seed);
    const float c = cellValue(x0, y0 + 1, period, seed);
    const float d = cellValue(x0 + 1, y0 + 1, period, seed);
    const float top = a + (b - a) * fx;
    const float bottom = c + (d - c) * fx;
    return top + (bottom - top) * fy;
}

float fractalNoise(float x, float y, int period, int octaves, float gain, uint32_t seed) {
    float sum = 0;
    float amplitude = 1;
    float total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * latticeNoise(x, y, period, seed + static_cast<uint32_t>(i) * 101u);
        total += amplitude;
        amplitude *= gain;
        x *= 2;
        y *= 2;
        period *= 2;
    }
    return sum / total;
}

float turnedNoise(float x, float y, int octaves, float gain, uint32_t seed) {
    constexpr int kNoTiling = 1 << 20;
    float sum = 0;
    float amplitude = 1;
    float total = 0;
    float c = 1;
    float s = 0;
    const float stepCos = 0.8253f;  // about 34.4 degrees per octave
    const float stepSin = 0.5646f;
    for (int i = 0; i < octaves; ++i) {
        const float rx = c * x - s * y + 37.0f * static_cast<float>(i);
        const float ry = s * x + c * y + 11.0f * static_cast<float>(i);
        sum += amplitude * latticeNoise(rx, ry, kNoTiling, seed + static_cast<uint32_t>(i) * 131u);
        total += amplitude;
        amplitude *= gain;
        x *= 2.03f;
        y *= 2.03f;
        const float nc = c * stepCos - s * stepSin;
        s = s * stepCos + c * stepSin;
        c = nc;
    }
    return sum / total;
}

}  // namespace datagen
