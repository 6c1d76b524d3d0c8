#pragma once

#include <functional>
#include <vector>

namespace datagen {

struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};

Color mix(const Color& a, const Color& b, float t);
Color scaled(const Color& c, float s);

// A picture in linear floats, RGBA in [0, 1], row 0 at the top. Writers turn it into
// the bottom-up rows that TGA and BMP files store.
class Image {
  public:
    Image(int width, int height, Color fill = {0, 0, 0, 1});

    int width() const { return width_; }
    int height() const { return height_; }
    Color& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    const Color& at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    // Bilinear sample at pixel-space position with wrap-around.
    Color sampleWrapped(float x, float y) const;

    // Sets every pixel to shader(u, v) with u, v the pixel centre in [0, 1].
    void shade(const std::function<Color(float u, float v)>& shader);
    // Paints colour with source-over blending where the signed distance (in pixels,
    // negative inside) returned by `distance` for a pixel centre is below 0.5.
    void paint(float x0, float y0, float x1, float y1,
               const std::function<float(float x, float y)>& distance, const Color& color);
    // Source-over of one pixel with the colour's alpha times coverage.
    void blend(int x, int y, const Color& color, float coverage);
    // Adds colour times amount (no clamping until written).
    void add(int x, int y, const Color& color, float amount);

    void fillRoundedRect(float x0, float y0, float x1, float y1, float radius, const Color& color);
    void fillDisc(float cx, float cy, float radius, const Color& color);
    void strokeCircle(float cx, float cy, float radius, float width, const Color& color);
    void line(float x0, float y0, float x1, float y1, float width, const Color& color);

  private:
    int width_;
    int height_;
    std::vector<Color> pixels_;
};

// The image averaged down (or stretched) to `width` × `height`: pictures are drawn at the
// shape they have on screen and then fitted to the power-of-two size of the file.
Image resampled(const Image& image, int width, int height);

// Signed distance from (x, y) to a rounded rectangle.
float roundedRectDistance(float x, float y, float x0, float y0, float x1, float y1, float radius);

}  // namespace datagen
