#include "bot/bot_options.h"

#include <string_view>

#include "platform/option_walk.h"

namespace bot {
namespace {

// HOST or HOST:PORT; an empty host, or a port outside 1-65535, is refused.
bool parseServer(const std::string& text, BotOptions& options) {
    const std::size_t colon = text.rfind(':');
    options.host = text.substr(0, colon);
    if (colon != std::string::npos) {
        long port = 0;
        if (!platform::parseWholeNumber(std::string_view(text).substr(colon + 1), 1, 65535, port))
            return false;
        options.port = static_cast<std::uint16_t>(port);
    }
    return !options.host.empty();
}

}  // namespace

const char* botUsageText() {
    return "usage: voka-bot --server HOST[:PORT] --count N --skill 1..5 --game-dir DIR\n"
           "Computer players for Voka Arena: N connections to the server, each a player\n"
           "that drives, picks up items and fights like a game client.\n"
           "  --server HOST[:PORT]  the relay server (port 24500 when none is given)\n"
           "  --count N             how many bots, 1-126\n"
           "  --skill 1..5          how well they aim and how fast they react (5 best)\n"
           "  --game-dir DIR        the game directory with level.xml and the levels\n"
           "  --help                show this text\n"
           "The bots play until the server goes away or the program is stopped (Ctrl-C).\n";
}

ParsedBotOptions parseBotOptions(int argc, const char* const* argv) {
    ParsedBotOptions parsed;
    BotOptions& options = parsed.options;
    bool server = false;
    const auto known = [](const std::string& option) {
        return option == "--server" || option == "--count" || option == "--skill" ||
               option == "--game-dir";
    };
    const auto take = [&](const std::string& option, const std::string& value) {
        long number = 0;
        if (option == "--server") return server = parseServer(value, options);
        if (option == "--game-dir") {
            options.gameDir = value;
            return !value.empty();
        }
        const bool count = option == "--count";
        if (!platform::parseWholeNumber(value, 1, count ? 126 : 5, number)) return false;
        (count ? options.count : options.skill) = static_cast<std::int32_t>(number);
        return true;
    };
    parsed.error = platform::walkOptions(argc, argv, parsed.help, known, take);
    if (!parsed.error.empty() || parsed.help) return parsed;
    if (!server) {
        parsed.error = "--server is required";
    } else if (options.count == 0) {
        parsed.error = "--count is required";
    } else if (options.skill == 0) {
        parsed.error = "--skill is required";
    } else if (options.gameDir.empty()) {
        parsed.error = "--game-dir is required";
    }
    return parsed;
}

}  // namespace bot
