#pragma once

#include <string>

#include "server/relay_server.h"

namespace server {

struct ParsedOptions {
    ServerConfig config;
    bool help = false;
    std::string error;  // empty when the command line was understood
};

// voka-server [--port N] [--bind ADDRESS] [--level N] [--max-players N]
//             [--item-respawn SECONDS] [--flush-delay-us N] [--idle-timeout SECONDS]
//             [--help]
ParsedOptions parseOptions(int argc, const char* const* argv);
const char* usageText();

}  // namespace server
