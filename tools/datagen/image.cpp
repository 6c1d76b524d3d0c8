#include "image.h"

#include <algorithm>
#include <cmath>

namespace datagen {

Color mix(const Color& a, const Color& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Color scaled(const Color& c, float s) {
    return {c.r * s, c.g * s, c.b * s, c.a};
}

Image::Image(int width, int height, Color fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

Color Image::sampleWrapped(float x, float y) const {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const float tx = x - fx;
    const float ty = y - fy;
    auto wrap = [](int v, int n) { return ((v % n) + n) % n; };
    const int x0 = wrap(static_cast<int>(fx), width_);
    const int y0 = wrap(static_cast<int>(fy), height_);
    const int x1 = wrap(x0 + 1, width_);
    const int y1 = wrap(y0 + 1, height_);
    return mix(mix(at(x0, y0), at(x1, y0), tx), mix(at(x0, y1), at(x1, y1), tx), ty);
}

void Image::shade(const std::function<Color(float u, float v)>& shader) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            at(x, y) = shader((static_cast<float>(x) + 0.5f) / static_cast<float>(width_),
                              (static_cast<float>(y) + 0.5f) / static_cast<float>(height_));
        }
    }
}

void Image::paint(float x0, float y0, float x1, float y1,
                  const std::function<float(float x, float y)>& distance, const Color& color) {
    const int ix0 = std::max(0, static_cast<int>(std::floor(x0)) - 1);
    const int iy0 = std::max(0, static_cast<int>(std::floor(y0)) - 1);
    const int ix1 = std::min(width_ - 1, static_cast<int>(std::ceil(x1)) + 1);
    const int iy1 = std::min(height_ - 1, static_cast<int>(std::ceil(y1)) + 1);
    for (int y = iy0; y <= iy1; ++y) {
        for (int x = ix0; x <= ix1; ++x) {
            const float d = distance(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            const float coverage = std::clamp(0.5f - d, 0.0f, 1.0f);
            if (coverage > 0) blend(x, y, color, coverage);
        }
    }
}

void Image::blend(int x, int y, const Color& color, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    Color& p = at(x, y);
    const float a = color.a * coverage;
    p.r += (color.r - p.r) * a;
    p.g += (color.g - p.g) * a;
    p.b += (color.b - p.b) * a;
    p.a = p.a + a * (1 - p.a);
}

void Image::add(int x, int y, const Color& color, float amount) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    Color& p = at(x, y);
    p.r += color.r * amount;
    p.g += color.g * amount;
    p.b += color.b * amount;
}

Image resampled(const Image& image, int width, int height) {
    Image out(width, height);
    const float sx = static_cast<float>(image.width()) / static_cast<float>(width);
    const float sy = static_cast<float>(image.height()) / static_cast<float>(height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Area average over the source footprint (at least one source pixel).
            const float fx0 = static_cast<float>(x) * sx;
            const float fy0 = static_cast<float>(y) * sy;
            const float fx1 = fx0 + std::max(sx, 1.0f);
            const float fy1 = fy0 + std::max(sy, 1.0f);
            Color sum{0, 0, 0, 0};
            float weight = 0;
            for (int iy = static_cast<int>(fy0);
                 iy < static_cast<int>(std::ceil(fy1)) && iy < image.height(); ++iy) {
                const float wy = std::min(fy1, static_cast<float>(iy + 1)) -
                                 std::max(fy0, static_cast<float>(iy));
                for (int ix = static_cast<int>(fx0);
                     ix < static_cast<int>(std::ceil(fx1)) && ix < image.width(); ++ix) {
                    const float wx = std::min(fx1, static_cast<float>(ix + 1)) -
                                     std::max(fx0, static_cast<float>(ix));
                    const float w = wx * wy;
                    const Color& c = image.at(ix, iy);
                    sum = {sum.r + c.r * w, sum.g + c.g * w, sum.b + c.b * w, sum.a + c.a * w};
                    weight += w;
                }
            }
            if (weight > 0)
                out.at(x, y) = {sum.r / weight, sum.g / weight, sum.b / weight, sum.a / weight};
        }
    }
    return out;
}

float roundedRectDistance(float x, float y, float x0, float y0, float x1, float y1, float radius) {
    const float cx = (x0 + x1) * 0.5f;
    const float cy = (y0 + y1) * 0.5f;
    const float hx = (x1 - x0) * 0.5f - radius;
    const float hy = (y1 - y0) * 0.5f - radius;
    const float qx = std::fabs(x - cx) - hx;
    const float qy = std::fabs(y - cy) - hy;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

void Image::fillRoundedRect(float x0, float y0, float x1, float y1, float radius,
                            const Color& color) {
    paint(
        x0, y0, x1, y1,
        [=](float x, float y) { return roundedRectDistance(x, y, x0, y0, x1, y1, radius); }, color);
}

void Image::fillDisc(float cx, float cy, float radius, const Color& color) {
    paint(
        cx - radius, cy - radius, cx + radius, cy + radius,
        [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; }, color);
}

void Image::strokeCircle(float cx, float cy, float radius, float width, const Color& color) {
    const float outer = radius + width;
    paint(
        cx - outer, cy - outer, cx + outer, cy + outer,
        [=](float x, float y) {
            return std::fabs(std::hypot(x - cx, y - cy) - radius) - width * 0.5f;
        },
        color);
}

void Image::line(float x0, float y0, float x1, float y1, float width, const Color& color) {
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    const float len2 = std::max(dx * dx + dy * dy, 1e-6f);
    paint(
        std::min(x0, x1) - width, std::min(y0, y1) - width, std::max(x0, x1) + width,
        std::max(y0, y1) + width,
        [=](float x, float y) {
            const float t = std::clamp(((x - x0) * dx + (y - y0) * dy) / len2, 0.0f, 1.0f);
            return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) - width * 0.5f;
        },
        color);
}

}  // namespace datagen
