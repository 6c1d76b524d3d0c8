#include "server/server_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

server::ParsedOptions parse(std::vector<const char*> args) {
    args.insert(args.begin(), "voka-server");
    return server::parseOptions(static_cast<int>(args.size()), args.data());
}

std::string summary(const server::ParsedOptions& parsed) {
    const auto& c = parsed.config;
    return c.bindAddress + ":" + std::to_string(c.port) + " level " + std::to_string(c.hub.level) +
           " players " + std::to_string(c.hub.maxPlayers) + " respawn " +
           std::to_string(c.hub.itemRespawnMs) + " idle " + std::to_string(c.idleTimeoutMs) +
           parsed.error;
}

TEST(ServerOptions, DefaultsMatchTheShippedSettingsAndEveryOptionIsRead) {
    EXPECT_EQ(summary(parse({})), "0.0.0.0:24500 level 1 players 16 respawn 30000 idle 30000");
    EXPECT_EQ(summary(parse({"--port", "0", "--bind", "127.0.0.1", "--level", "3", "--max-players",
                             "32", "--item-respawn", "2.5", "--idle-timeout", "0"})),
              "127.0.0.1:0 level 3 players 32 respawn 2500 idle 0");
    EXPECT_TRUE(parse({"--help"}).help);
}

TEST(ServerOptions, BadCommandLinesAreReportedNotGuessed) {
    const std::vector<std::vector<const char*>> bad = {{"--port"},
                                                       {"--port", "65536"},
                                                       {"--level", "0"},
                                                       {"--max-players", "128"},
                                                       {"--item-respawn", "nan"},
                                                       {"--idle-timeout", "x"},
                                                       {"--frag-limit", "5"}};
    for (const auto& args : bad) EXPECT_FALSE(parse(args).error.empty()) << args.back();
}

}  // namespace
