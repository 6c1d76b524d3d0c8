#include "font.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "stb_truetype_impl.h"

namespace datagen {

struct Font::Info {
    stbtt_fontinfo font;
};

Font::Font(const std::string& path) : info_(new Info{}) {
    std::ifstream file(path, std::ios::binary);
    data_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (data_.empty() || stbtt_InitFont(&info_->font, data_.data(), 0) == 0) {
        delete info_;
        throw std::runtime_error("cannot read font " + path + " (install fonts-dejavu-core)");
    }
}

Font::~Font() {
    delete info_;
}

float Font::advance(const std::string& text, size_t i, float scale) const {
    int glyphAdvance = 0;
    int bearing = 0;
    const int c = static_cast<unsigned char>(text[i]);
    stbtt_GetCodepointHMetrics(&info_->font, c, &glyphAdvance, &bearing);
    float width = static_cast<float>(glyphAdvance) * scale;
    if (i + 1 < text.size()) {
        width += static_cast<float>(stbtt_GetCodepointKernAdvance(
                     &info_->font, c, static_cast<unsigned char>(text[i + 1]))) *
                 scale;
    }
    return width;
}

float Font::measure(const std::string& text, float size) const {
    const float scale = stbtt_ScaleForPixelHeight(&info_->font, size);
    float width = 0;
    for (size_t i = 0; i < text.size(); ++i) width += advance(text, i, scale);
    return width;
}

Mask Font::render(const std::string& text, float size, float x, float baseline, int width,
                  int height) const {
    Mask mask{width, height, std::vector<float>(static_cast<size_t>(width) * height, 0.0f)};
    const float scale = stbtt_ScaleForPixelHeight(&info_->font, size);
    float pen = x;
    for (size_t i = 0; i < text.size(); ++i) {
        const int c = static_cast<unsigned char>(text[i]);
        const float shiftX = pen - std::floor(pen);
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        stbtt_GetCodepointBitmapBoxSubpixel(&info_->font, c, scale, scale, shiftX, 0, &x0, &y0, &x1,
                                            &y1);
        const int gw = x1 - x0;
        const int gh = y1 - y0;
        if (gw > 0 && gh > 0) {
            std::vector<unsigned char> glyph(static_cast<size_t>(gw) * gh);
            stbtt_MakeCodepointBitmapSubpixel(&info_->font, glyph.data(), gw, gh, gw, scale, scale,
                                              shiftX, 0, c);
            const int ox = static_cast<int>(std::floor(pen)) + x0;
            const int oy = static_cast<int>(std::lround(baseline)) + y0;
            for (int gy = 0; gy < gh; ++gy) {
                for (int gx = 0; gx < gw; ++gx) {
                    const int px = ox + gx;
                    const int py = oy + gy;
                    if (px < 0 || py < 0 || px >= width || py >= height) continue;
                    float& cov = mask.coverage[static_cast<size_t>(py) * width + px];
                    cov = std::min(1.0f, cov + glyph[static_cast<size_t>(gy) * gw + gx] / 255.0f);
                }
            }
        }
        pen += advance(text, i, scale);
    }
    return mask;
}

Mask Font::renderCentred(const std::string& text, float size, float cx, float cy, int width,
                         int height) const {
    // Capital height of DejaVu is about 0.73 of the pixel height asked for.
    const float capital = 0.73f * size * 0.8f;
    return render(text, size, cx - measure(text, size) * 0.5f, cy + capital * 0.5f, width, height);
}

Mask blurred(const Mask& mask, int radius) {
    Mask out = mask;
    std::vector<float> temp(out.coverage.size());
    const int w = mask.width;
    const int h = mask.height;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += out.at(std::clamp(x + k, 0, w - 1), y);
                temp[static_cast<size_t>(y) * w + x] = sum / static_cast<float>(2 * radius + 1);
            }
        }
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    sum += temp[static_cast<size_t>(std::clamp(y + k, 0, h - 1)) * w + x];
                out.coverage[static_cast<size_t>(y) * w + x] =
                    sum / static_cast<float>(2 * radius + 1);
            }
        }
    }
    return out;
}

void compose(Image& image, const Mask& mask, const Color& color, float strength) {
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            const float c = mask.at(x, y) * strength;
            if (c > 0) image.blend(x, y, color, std::min(c, 1.0f));
        }
    }
}

const Font& boldFont() {
    static const Font font("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf");
    return font;
}

const Font& regularFont() {
    static const Font font("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    return font;
}

}  // namespace datagen
