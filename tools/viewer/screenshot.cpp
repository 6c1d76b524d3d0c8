#include "screenshot.h"

#include <GL/gl.h>

#include <cstddef>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

bool writeScreenshot(const std::string& file, int width, int height) {
    const std::size_t row = static_cast<std::size_t>(width) * 3;
    std::vector<unsigned char> pixels(row * static_cast<std::size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    // OpenGL counts rows from the bottom, PNG from the top.
    stbi_flip_vertically_on_write(1);
    return stbi_write_png(file.c_str(), width, height, 3, pixels.data(), static_cast<int>(row)) !=
           0;
}
