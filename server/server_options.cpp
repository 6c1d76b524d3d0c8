#include "server/server_options.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace server {
namespace {

bool parseInt(std::string_view text, long low, long high, long& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && value >= low && value <= high;
}

bool parseSeconds(const std::string& text, double& seconds) {
    if (text.empty()) return false;
    char* end = nullptr;
    seconds = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(seconds) && seconds >= 0.0 &&
           seconds <= 86400.0;
}

}  // namespace

const char* usageText() {
    return "usage: voka-server [options]\n"
           "Relay server of Voka Arena: numbers the players, tells them the level, and passes\n"
           "every player's messages on to the others.\n"
           "  --port N               TCP port to listen on (default 24500, 0 picks a free one)\n"
           "  --bind ADDRESS         IPv4 address to listen on (default 0.0.0.0, every one)\n"
           "  --level N              level number sent to every player, 1-127 (default 1)\n"
           "  --max-players N        players at once, 1-127 (default 16); more are told the\n"
           "                         server is full\n"
           "  --item-respawn SECONDS time until a taken item comes back (default 30)\n"
           "  --flush-delay-us N     microseconds relayed messages may gather before they\n"
           "                         are written (default 1000, 0 writes at once)\n"
           "  --help                 show this text\n";
}

ParsedOptions parseOptions(int argc, const char* const* argv) {
    ParsedOptions parsed;
    ServerConfig& config = parsed.config;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            parsed.help = true;
            return parsed;
        }
        if (option != "--port" && option != "--bind" && option != "--level" &&
            option != "--max-players" && option != "--item-respawn" &&
            option != "--flush-delay-us") {
            parsed.error = "unknown option: " + option;
            return parsed;
        }
        if (i + 1 >= argc) {
            parsed.error = option + " needs a value";
            return parsed;
        }
        const std::string value = argv[++i];
        long number = 0;
        double seconds = 0.0;
        bool valid = true;
        if (option == "--port") {
            valid = parseInt(value, 0, 65535, number);
            config.port = static_cast<std::uint16_t>(number);
        } else if (option == "--bind") {
            config.bindAddress = value;
        } else if (option == "--level") {
            valid = parseInt(value, 1, 127, number);
            config.hub.level = static_cast<int>(number);
        } else if (option == "--flush-delay-us") {
            valid = parseInt(value, 0, 100000, number);
            config.flushDelayUs = static_cast<int>(number);
        } else if (option == "--max-players") {
            valid = parseInt(value, 1, RelayHub::kMaxClientNumber, number);
            config.hub.maxPlayers = static_cast<int>(number);
        } else {
            valid = parseSeconds(value, seconds);
            config.hub.itemRespawnMs = std::llround(seconds * 1000.0);
        }
        if (!valid) {
            parsed.error = "bad value for " + option + ": " + value;
            return parsed;
        }
    }
    return parsed;
}

}  // namespace server
