#pragma once

#include <string>
#include <string_view>

namespace platform {

// Replaces the whole contents of the file at `path`, or leaves it as it was: the bytes
// are written beside the file and then renamed over it, so a failed write never leaves
// half a file. A symbolic link is followed to the file it leads to, which is replaced
// and keeps its permissions; the link stays a link. False when anything failed, a loop
// of links included.
bool replaceFile(const std::string& path, std::string_view bytes);

}  // namespace platform
