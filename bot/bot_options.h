#pragma once

#include <cstdint>
#include <string>

namespace bot {

struct BotOptions {
    std::string host;
    std::uint16_t port = 24500;  // the server_port of the shipped zrv.cfg
    std::int32_t count = 0;
    std::int32_t skill = 0;
    std::string gameDir;
};

struct ParsedBotOptions {
    BotOptions options;
    bool help = false;
    std::string error;  // empty when the command line was understood
};

// voka-bot --server HOST[:PORT] --count N --skill 1..5 --game-dir DIR [--help]
// Every option but --help is required once; a count runs from 1 to 126 (the server
// numbers at most 127 clients).
ParsedBotOptions parseBotOptions(int argc, const char* const* argv);
const char* botUsageText();

}  // namespace bot
