#pragma once

#include <string>
#include <vector>

#include "image.h"

namespace datagen {

// Coverage in [0, 1] per pixel, the size of the image it was made for.
struct Mask {
    int width = 0;
    int height = 0;
    std::vector<float> coverage;

    float at(int x, int y) const { return coverage[static_cast<size_t>(y) * width + x]; }
};

// A TrueType font from Debian's fonts-dejavu-core, rasterised with stb_truetype.
class Font {
  public:
    explicit Font(const std::string& path);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Advance width of `text` at a pixel height of `size`.
    float measure(const std::string& text, float size) const;
    // Coverage of `text` with its base line starting at (x, baseline), in an image of
    // width × height pixels.
    Mask render(const std::string& text, float size, float x, float baseline, int width,
                int height) const;
    // Coverage of `text` centred horizontally on cx with its capitals centred on cy.
    Mask renderCentred(const std::string& text, float size, float cx, float cy, int width,
                       int height) const;

  private:
    // Advance of character i, with the kerning towards the next one.
    float advance(const std::string& text, size_t i, float scale) const;

    std::vector<unsigned char> data_;
    struct Info;
    Info* info_;
};

// Box-blurs a mask by `radius` pixels (three passes, close to a Gaussian).
Mask blurred(const Mask& mask, int radius);
// Paints colour into image, weighted by mask coverage times `strength`.
void compose(Image& image, const Mask& mask, const Color& color, float strength = 1.0f);

// The fonts we ship text in.
const Font& boldFont();
const Font& regularFont();

}  // namespace datagen
