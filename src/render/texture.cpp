#include "render/texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "platform/message_box.h"
#include "render/bmp_image.h"
#include "render/tga_image.h"

namespace {

// Every texture is needed to draw the game: without it there is nothing sensible to do.
[[noreturn]] void endProcess() {
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(0);
}

struct Filter {
    GLint mag;
    GLint min;
    const char* name;
};

constexpr Filter kFilters[] = {
    {GL_NEAREST, GL_NEAREST, "Point"},
    {GL_LINEAR, GL_LINEAR, "Bilinear"},
    {GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR, "Trilinear"},
};

bool knownQuality(std::int32_t quality) {
    return quality >= 0 && quality <= 2;
}

}  // namespace

TextureFormat textureFormatOf(const char* filename) {
    if (std::strstr(filename, ".bmp") != nullptr || std::strstr(filename, ".BMP") != nullptr)
        return TextureFormat::Bmp;
    if (std::strstr(filename, ".tga") != nullptr) return TextureFormat::Tga;
    return TextureFormat::Unsupported;
}

int loadTexture(unsigned int* table, const char* filename, int slot) {
    if (table == nullptr || filename == nullptr || slot < 0) return -1;
    std::string name;
    try {
        name = filename;
    } catch (const std::bad_alloc&) {
        return -1;
    }

    switch (textureFormatOf(name.c_str())) {
        case TextureFormat::Bmp: {
            std::optional<BmpImage> image = loadBmp(name.c_str());
            if (!image) endProcess();
            glGenTextures(1, &table[slot]);
            glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // stays in force for later uploads
            glBindTexture(GL_TEXTURE_2D, table[slot]);
            gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image->width, image->height, GL_RGB,
                              GL_UNSIGNED_BYTE, image->rgb.data());
            break;
        }
        case TextureFormat::Tga: {
            std::optional<TgaImage> image = loadTga(name.c_str());
            if (!image) endProcess();
            glGenTextures(1, &table[slot]);
            // Rows are tightly packed: with OpenGL's default alignment of 4, rows of
            // 3 * width bytes would be read skewed and past the end of the pixels.
            glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
            glBindTexture(GL_TEXTURE_2D, table[slot]);
            const GLenum format = image->channels == 4 ? GL_RGBA : GL_RGB;
            gluBuild2DMipmaps(GL_TEXTURE_2D, image->channels, image->width, image->height, format,
                              GL_UNSIGNED_BYTE, image->data.data());
            break;
        }
        case TextureFormat::Unsupported:
            showError("texture format not supported...");
            endProcess();
    }
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    return 0;
}

void applyTextureFilters(std::int32_t textureQuality, bool mipmapping) {
    applyTextureQuality(textureQuality);
    applyMipmapLevels(mipmapping);
}

void applyTextureQuality(std::int32_t textureQuality) {
    if (!knownQuality(textureQuality)) return;
    const Filter& filter = kFilters[textureQuality];
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter.mag);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter.min);
}

void applyMipmapLevels(bool mipmapping) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, mipmapping ? 1000 : 0);
}

const char* textureQualityName(std::int32_t textureQuality) {
    return knownQuality(textureQuality) ? kFilters[textureQuality].name : "Unknown";
}
