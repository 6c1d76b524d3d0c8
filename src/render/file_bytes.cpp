#include "render/file_bytes.h"

#include <cstdio>
#include <memory>
#include <new>

bool readFileBytes(const char* filename, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(filename, "rb"), std::fclose);
    if (!file) return false;
    try {
        std::uint8_t chunk[64 * 1024];
        std::size_t count = 0;
        while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
            bytes.insert(bytes.end(), chunk, chunk + count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return std::ferror(file.get()) == 0;
}
