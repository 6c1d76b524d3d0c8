#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "image_files.h"

namespace datagen {

// The game directory being written. Paths are relative to it ("textures/back.tga").
class Output {
  public:
    explicit Output(std::filesystem::path root);

    void write(const std::string& relativePath, const Bytes& bytes);
    void writeText(const std::string& relativePath, const std::string& text);
    void writeTga(const std::string& relativePath, const Image& image, int bitsPerPixel,
                  TgaPacking packing);
    void writeBmp(const std::string& relativePath, const Image& image);

    const std::filesystem::path& root() const { return root_; }
    size_t fileCount() const { return files_; }

  private:
    std::filesystem::path root_;
    size_t files_ = 0;
};

}  // namespace datagen
