#include "platform/replace_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

namespace fs = std::filesystem;

// The file that `path` leads to through any chain of symbolic links; empty for a loop.
fs::path linkTarget(fs::path path) {
    std::error_code error;
    for (int hops = 0; hops < 40; ++hops) {
        if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
        const fs::path next = fs::read_symlink(path, error);
        if (error) return {};
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return {};
}

}  // namespace

bool replaceFile(const std::string& path, std::string_view bytes) {
    const fs::path target = linkTarget(path);
    if (target.empty()) return false;
    const std::string temp = target.string() + ".tmp";
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr) return false;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) ::fchmod(fileno(file), old.st_mode & 07777);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || std::rename(temp.c_str(), target.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace platform
