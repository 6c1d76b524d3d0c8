#pragma once

#include <cstdint>
#include <vector>

// Reads a whole file into `bytes`; false when it cannot be opened or read (a directory,
// say) or does not fit in memory.
bool readFileBytes(const char* filename, std::vector<std::uint8_t>& bytes);
