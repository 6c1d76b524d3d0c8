#include "heightmap.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "random.h"
#include "vec.h"

namespace datagen {

float Heightmap::raw(int column, int row) const {
    const int c = std::abs(column) % kSize;
    const int r = std::abs(row) % kSize;
    return static_cast<float>(heights_[static_cast<size_t>(r) * kSize + c]);
}

float Heightmap::smoothed(float column, float row) const {
    const int c = static_cast<int>(column);
    const int r = static_cast<int>(row);
    return (raw(c, r) + raw(c + 1, r) + raw(c, r + 1) + raw(c - 1, r) + raw(c, r - 1)) / 5.0f;
}

float Heightmap::groundHeight(float x, float y) const {
    const float gx = 0.16f * x;
    const float gy = 0.16f * y;
    const float i0 = std::trunc(gx);
    const float j0 = std::trunc(gy);
    const float dx = gx - i0;
    const float dy = gy - j0;
    const float s00 = smoothed(i0, j0);
    const float s11 = smoothed(i0 + 1, j0 + 1);
    if (dx > dy) {
        const float s10 = smoothed(i0 + 1, j0);
        const float d = dx * s11 + (1 - dx) * s00;
        const float b = dx * s10 + (1 - dx) * s00;
        return (dy / dx) * d + ((dx - dy) / dx) * b;
    }
    const float s01 = smoothed(i0, j0 + 1);
    const float t = (1 - dx) * s01 + dx * s11;
    const float d = (1 - dx) * s00 + dx * s11;
    return dx < 1 ? ((1 - dy) / (1 - dx)) * d + ((dy - dx) / (1 - dx)) * t : t;
}

float Heightmap::slope(int column, int row) const {
    const float sx =
        (raw(std::min(column + 1, kSize - 1), row) - raw(std::max(column - 1, 0), row)) /
        (2 * kStep);
    const float sy =
        (raw(column, std::min(row + 1, kSize - 1)) - raw(column, std::max(row - 1, 0))) /
        (2 * kStep);
    return std::hypot(sx, sy);
}

namespace {

using Field = std::vector<float>;

Field blur(const Field& in, int passes) {
    Field a = in;
    Field b(a.size());
    const int n = Heightmap::kSize;
    for (int p = 0; p < passes; ++p) {
        for (int r = 0; r < n; ++r) {
            for (int c = 0; c < n; ++c) {
                float sum = 0;
                for (int k = -1; k <= 1; ++k) {
                    for (int m = -1; m <= 1; ++m) {
                        const int rr = std::clamp(r + k, 0, n - 1);
                        const int cc = std::clamp(c + m, 0, n - 1);
                        sum += a[static_cast<size_t>(rr) * n + cc];
                    }
                }
                b[static_cast<size_t>(r) * n + c] = sum / 9.0f;
            }
        }
        std::swap(a, b);
    }
    return a;
}

Heightmap toHeightmap(const Field& field) {
    Heightmap map;
    for (int r = 0; r < Heightmap::kSize; ++r) {
        for (int c = 0; c < Heightmap::kSize; ++c) {
            const float h = field[static_cast<size_t>(r) * Heightmap::kSize + c];
            map.at(c, r) = static_cast<uint8_t>(std::lround(std::clamp(h, 2.0f, 250.0f)));
        }
    }
    return map;
}

// 0 in the open middle of the arena, rising to 1 at the fence.
float rim(float u, float v) {
    const float edge = std::max(std::fabs(u - 0.5f), std::fabs(v - 0.5f)) * 2;
    return smoothstep(0.78f, 1.0f, edge);
}

// Distance (in map fractions) from (u, v) to a river that winds across the map in x.
float riverDistance(float u, float v) {
    const float centre =
        0.5f + 0.16f * std::sin(u * 2 * kPi * 1.3f + 0.6f) + 0.07f * std::sin(u * 2 * kPi * 3.1f);
    return std::fabs(v - centre);
}

// Heights from a function of the map position (u along x, v along y, both 0 to 1),
// softened so that slopes stay drivable.
Heightmap heightsFrom(const std::function<float(float u, float v)>& height) {
    const int n = Heightmap::kSize;
    Field field(static_cast<size_t>(n) * n);
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            field[static_cast<size_t>(r) * n + c] =
                height(static_cast<float>(c) / n, static_cast<float>(r) / n);
        }
    }
    return toHeightmap(blur(field, 2));
}

}  // namespace

Heightmap rollingHills() {
    return heightsFrom([](float u, float v) {
        // Domain warping bends the hills into less regular shapes.
        const float wu = u + 0.08f * (turnedNoise(u * 3, v * 3, 3, 0.5f, 1003) - 0.5f);
        const float wv = v + 0.08f * (turnedNoise(u * 3 + 5, v * 3 + 9, 3, 0.5f, 1004) - 0.5f);
        const float broad = turnedNoise(wu * 4, wv * 4, 5, 0.5f, 1001);
        const float ridge =
            1 - std::fabs(2 * turnedNoise(wu * 2.5f + 7, wv * 2.5f + 3, 4, 0.5f, 1002) - 1);
        float h = 20 + 110 * smoothstep(0.2f, 0.8f, broad) + 55 * std::pow(ridge, 4.0f);
        // A river valley that dips under the ground fog.
        const float river = std::exp(-std::pow(riverDistance(u, v) / 0.055f, 2.0f));
        h = lerp(h, 6, river);
        // A pond in a hollow of the north-east.
        const float pond =
            std::exp(-(std::pow(u - 0.78f, 2.0f) + std::pow(v - 0.2f, 2.0f)) / 0.004f);
        h = lerp(h, 8, pond);
        return h + 95 * rim(u, v);
    });
}

Heightmap redCanyon() {
    return heightsFrom([](float u, float v) {
        // Canyons follow the creases of a ridged noise field.
        const float crease = std::fabs(2 * turnedNoise(u * 2.5f, v * 2.5f, 4, 0.45f, 2001) - 1);
        const float canyon = 1 - smoothstep(0.0f, 0.16f, crease);
        const float mesa = turnedNoise(u * 5, v * 5, 5, 0.5f, 2002);
        float h = 60 + 70 * mesa;
        // Soft terraces on the mesa flanks.
        const float step = 22;
        const float terrace = std::floor(h / step) * step;
        h = lerp(h, terrace + step * smoothstep(0.7f, 1.0f, (h - terrace) / step), 0.6f);
        h = lerp(h, 10, canyon);
        return h + 110 * rim(u, v);
    });
}

}  // namespace datagen
