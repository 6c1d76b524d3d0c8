#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// The longest name a MSG_NAME carries.
inline constexpr std::size_t kAnnouncedNameLength = 8;

// The name a MSG_NAME announces: its payload up to the first NUL, at most 8 characters
// (a payload without a NUL gives its first 8). Anything but printable ASCII becomes '?',
// so a peer cannot send escape sequences to the console.
std::string announcedName(const std::uint8_t* payload, std::size_t length);

// A player announced `announced`; `stored` is the name it had. When they differ the
// name is adopted and "%s connected...\n" written to `out` (unless it is nullptr): the
// same name again writes nothing. True when the name changed.
bool adoptName(std::string& stored, const std::string& announced, std::FILE* out);
