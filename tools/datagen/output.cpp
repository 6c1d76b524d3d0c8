#include "output.h"

#include <fstream>
#include <stdexcept>

namespace datagen {

Output::Output(std::filesystem::path root) : root_(std::move(root)) {}

void Output::write(const std::string& relativePath, const Bytes& bytes) {
    const std::filesystem::path path = root_ / relativePath;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + path.string());
    ++files_;
}

void Output::writeText(const std::string& relativePath, const std::string& text) {
    write(relativePath, Bytes(text.begin(), text.end()));
}

void Output::writeTga(const std::string& relativePath, const Image& image, int bitsPerPixel,
                      TgaPacking packing) {
    write(relativePath, encodeTga(image, bitsPerPixel, packing));
}

void Output::writeBmp(const std::string& relativePath, const Image& image) {
    write(relativePath, encodeBmp(image));
}

}  // namespace datagen
