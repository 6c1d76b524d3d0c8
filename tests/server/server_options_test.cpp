#include "server/server_options.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

server::ParsedOptions parse(std::vector<const char*> args) {
    args.insert(args.begin(), "voka-server");
    return server::parseOptions(static_cast<int>(args.size()), args.data());
}

TEST(ServerOptions, DefaultsMatchTheShippedSettings) {
    const auto parsed = parse({});
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.config.port, 24500);
    EXPECT_EQ(parsed.config.bindAddress, "0.0.0.0");
    EXPECT_EQ(parsed.config.hub.level, 1);
    EXPECT_EQ(parsed.config.hub.maxPlayers, 16);
    EXPECT_EQ(parsed.config.hub.itemRespawnMs, 30000);
}

TEST(ServerOptions, ReadsEveryOption) {
    const auto parsed = parse({"--port", "0", "--bind", "127.0.0.1", "--level", "3",
                               "--max-players", "32", "--item-respawn", "2.5"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.config.port, 0);
    EXPECT_EQ(parsed.config.bindAddress, "127.0.0.1");
    EXPECT_EQ(parsed.config.hub.level, 3);
    EXPECT_EQ(parsed.config.hub.maxPlayers, 32);
    EXPECT_EQ(parsed.config.hub.itemRespawnMs, 2500);
    EXPECT_TRUE(parse({"--help"}).help);
}

class BadOption : public testing::TestWithParam<std::vector<const char*>> {};

TEST_P(BadOption, IsReportedNotGuessed) {
    EXPECT_FALSE(parse(GetParam()).error.empty());
}

INSTANTIATE_TEST_SUITE_P(CommandLines, BadOption,
                         testing::Values(std::vector<const char*>{"--port"},
                                         std::vector<const char*>{"--port", "65536"},
                                         std::vector<const char*>{"--port", "12ab"},
                                         std::vector<const char*>{"--level", "0"},
                                         std::vector<const char*>{"--max-players", "128"},
                                         std::vector<const char*>{"--max-players", "-1"},
                                         std::vector<const char*>{"--item-respawn", "nan"},
                                         std::vector<const char*>{"--item-respawn", "-1"},
                                         std::vector<const char*>{"--frag-limit", "5"}),
                         [](const testing::TestParamInfo<std::vector<const char*>>& p) {
                             std::string name;
                             for (const char* arg : p.param) {
                                 for (const char* c = arg; *c != '\0'; ++c) {
                                     if (std::isalnum(static_cast<unsigned char>(*c)) != 0)
                                         name += *c;
                                 }
                                 name += '_';
                             }
                             return name + std::to_string(p.index);
                         });

}  // namespace
