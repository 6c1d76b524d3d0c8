#pragma once

#include <cstdint>

// Which decoder a texture file name selects: a case-sensitive substring search over
// the whole name, ".bmp" or ".BMP" first, then ".tga". So "x.bmp.tga" is a bitmap and
// "x.TGA" is not supported.
enum class TextureFormat { Bmp, Tga, Unsupported };
TextureFormat textureFormatOf(const char* filename);

// Decodes an image file and makes it an OpenGL texture with its full mipmap chain:
// one new texture name is written into table[slot], the texture stays bound to
// GL_TEXTURE_2D and the texture environment is GL_MODULATE. No filter or wrap
// parameter is set. Returns 0, or -1 when the name cannot be copied (or no table or
// name is given). Any other failure ends the process with exit code 0, after
// "texture format not supported..." for an unknown name, or the decoder's message.
// Needs the GL context (main thread).
int loadTexture(unsigned int* table, const char* filename, int slot);

// The texture filters of `textureQuality` (0 point, 1 bilinear, 2 trilinear) and the
// mipmap level range of `mipmapping`, applied to the texture bound to GL_TEXTURE_2D.
// A quality outside 0 to 2 leaves the filters alone.
void applyTextureFilters(std::int32_t textureQuality, bool mipmapping);
// Each half alone, as its function key changes it.
void applyTextureQuality(std::int32_t textureQuality);
void applyMipmapLevels(bool mipmapping);

// "Point", "Bilinear", "Trilinear", or "Unknown" for any other quality.
const char* textureQualityName(std::int32_t textureQuality);
