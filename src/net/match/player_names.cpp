#include "net/match/player_names.h"

#include <algorithm>

std::string announcedName(const std::uint8_t* payload, std::size_t length) {
    std::string name;
    if (payload == nullptr) return name;
    for (std::size_t i = 0; i < std::min(length, kAnnouncedNameLength) && payload[i] != 0; ++i) {
        const bool printable = payload[i] >= 0x20 && payload[i] < 0x7F;
        name.push_back(printable ? static_cast<char>(payload[i]) : '?');
    }
    return name;
}

bool adoptName(std::string& stored, const std::string& announced, std::FILE* out) {
    if (stored == announced) return false;
    stored = announced;
    if (out == nullptr) return true;
    std::fprintf(out, "%s connected...\n", stored.c_str());
    std::fflush(out);
    return true;
}
