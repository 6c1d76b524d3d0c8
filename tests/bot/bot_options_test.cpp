#include "bot/bot_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bot::ParsedBotOptions parse(std::vector<const char*> args) {
    args.insert(args.begin(), "voka-bot");
    return bot::parseBotOptions(static_cast<int>(args.size()), args.data());
}

TEST(BotOptions, EveryOptionIsReadAndEveryMistakeNamed) {
    const bot::ParsedBotOptions good =
        parse({"--server", "game.local:3000", "--count", "16", "--skill", "5", "--game-dir", "g"});
    EXPECT_EQ(good.error, "");
    EXPECT_EQ(good.options.host + ":" + std::to_string(good.options.port) + " " +
                  std::to_string(good.options.count) + " " + std::to_string(good.options.skill) +
                  " " + good.options.gameDir,
              "game.local:3000 16 5 g");
    EXPECT_EQ(parse({"--server", "10.0.0.2", "--count", "1", "--skill", "1", "--game-dir", "g"})
                  .options.port,
              24500);
    EXPECT_TRUE(parse({"--skill", "2", "--help"}).help);
    const std::vector<std::vector<const char*>> bad = {
        {"--server", ":3000", "--count", "1", "--skill", "1", "--game-dir", "g"},
        {"--server", "h:0", "--count", "1", "--skill", "1", "--game-dir", "g"},
        {"--server", "h", "--count", "127", "--skill", "1", "--game-dir", "g"},
        {"--server", "h", "--count", "1", "--skill", "6", "--game-dir", "g"},
        {"--server", "h", "--count", "1", "--skill", "1"},
        {"--server", "h", "--count", "1", "--skill", "1", "--game-dir"},
        {"--bots", "3"}};
    for (const auto& args : bad) EXPECT_NE(parse(args).error, "") << args[0] << " " << args[1];
}

}  // namespace
