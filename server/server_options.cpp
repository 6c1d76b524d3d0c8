#include "server/server_options.h"

#include <cmath>
#include <cstdlib>

#include "platform/option_walk.h"

namespace server {
namespace {

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
           "                         are written (default 250, 0 writes at once)\n"
           "  --realtime-priority N  real-time scheduling at priority 1-99 for the relay\n"
           "                         loop, ahead of every normal program (default 0: none;\n"
           "                         needs root or CAP_SYS_NICE)\n"
           "  --idle-timeout SECONDS a player that has sent nothing for this long is\n"
           "                         closed and its place freed (default 30, 0 never)\n"
           "  --help                 show this text\n";
}

ParsedOptions parseOptions(int argc, const char* const* argv) {
    ParsedOptions parsed;
    ServerConfig& config = parsed.config;
    const auto known = [](const std::string& option) {
        return option == "--port" || option == "--bind" || option == "--level" ||
               option == "--max-players" || option == "--item-respawn" ||
               option == "--flush-delay-us" || option == "--idle-timeout" ||
               option == "--realtime-priority";
    };
    const auto take = [&config](const std::string& option, const std::string& value) {
        long number = 0;
        double seconds = 0.0;
        bool valid = true;
        if (option == "--port") {
            valid = platform::parseWholeNumber(value, 0, 65535, number);
            config.port = static_cast<std::uint16_t>(number);
        } else if (option == "--bind") {
            config.bindAddress = value;
        } else if (option == "--level") {
            valid = platform::parseWholeNumber(value, 1, 127, number);
            config.hub.level = static_cast<int>(number);
        } else if (option == "--flush-delay-us") {
            valid = platform::parseWholeNumber(value, 0, 100000, number);
            config.flushDelayUs = static_cast<int>(number);
        } else if (option == "--realtime-priority") {
            valid = platform::parseWholeNumber(value, 0, 99, number);
            config.realTimePriority = static_cast<int>(number);
        } else if (option == "--max-players") {
            valid = platform::parseWholeNumber(value, 1, RelayHub::kMaxClientNumber, number);
            config.hub.maxPlayers = static_cast<int>(number);
        } else {
            valid = parseSeconds(value, seconds);
            (option == "--idle-timeout" ? config.idleTimeoutMs : config.hub.itemRespawnMs) =
                std::llround(seconds * 1000.0);
        }
        return valid;
    };
    parsed.error = platform::walkOptions(argc, argv, parsed.help, known, take);
    return parsed;
}

}  // namespace server
