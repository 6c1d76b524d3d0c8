// The built voka-bot: what it links, its command line, and its end when the server goes;
// scripts/solo-play, behind ./play --bots: a private server, the bots and the game, and
// nothing left running once the game has ended.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <future>

#include "loopback.h"
#include "server_process.h"
#include "support/e2e_runner.h"
#include "support/temp_dir.h"

namespace {

using testing_support::runCommand;

const std::string kBot = testing_support::builtBinary("bot/voka-bot");

TEST(VokaBot, LinksNoGraphicsRefusesABadCommandLineAndEndsWhenTheServerGoesAway) {
    const std::string libraries = runCommand("ldd " + kBot);
    ASSERT_NE(libraries.find("libc.so"), std::string::npos) << libraries;
    for (const char* library : {"libGL", "libglut", "libSDL", "libX11", "libxcb"})
        EXPECT_EQ(libraries.find(library), std::string::npos) << library;
    // A bad command line ends with exit code 2; the server's end with 0.
    const std::string refused = runCommand(kBot + " --count 2 --skill 9 2>&1; echo rc=$?");
    EXPECT_NE(refused.find("bad value for --skill: 9\n"), std::string::npos) << refused;
    EXPECT_NE(refused.find("rc=2"), std::string::npos) << refused;
    ServerProcess server({"--port", "0", "--bind", "127.0.0.1"});
    const std::uint16_t port = server.port();
    ASSERT_NE(port, 0) << server.log();
    auto bots = std::async(std::launch::async, [&] {
        return runCommand(kBot + " --server 127.0.0.1:" + std::to_string(port) +
                          " --count 2 --skill 1 --game-dir " + VOKA_BINARY_DIR +
                          "/game 2>&1; echo rc=$?");
    });
    EXPECT_TRUE(loopback::eventually([&] { return server.logHas("client 2 joined"); }, 20000));
    server.signal(SIGTERM);
    const std::string output = bots.get();
    EXPECT_NE(output.find("the server has gone away"), std::string::npos) << output;
    EXPECT_NE(output.find("rc=0"), std::string::npos) << output;
}

TEST(SoloPlayScript, TheGameMeetsTheBotsAndEverythingStopsWithIt) {
    testing_support::TempDir dir;
    testing_support::copyGameData(dir.path());
    // A stand-in for the game: it notes where it was sent, waits for both bots to join
    // and ends with a code of its own.
    dir.write("game.sh",
              "echo \"$@\" > args.txt\n"
              "for i in $(seq 200); do\n"
              "  [ \"$(grep -c joined voka-server.log)\" -ge 2 ] && exit 3\n"
              "  sleep 0.05\n"
              "done\n"
              "exit 4\n");
    const std::string output =
        runCommand(std::string(VOKA_SOURCE_DIR) + "/scripts/solo-play --build " + VOKA_BINARY_DIR +
                   " --game-dir " + dir.path() + " --bots 2 -- sh " + dir.file("game.sh") +
                   " --start 2>&1; echo rc=$?");
    EXPECT_NE(output.find("rc=3"), std::string::npos) << output;
    const std::size_t at = output.find("solo-play: server ");
    ASSERT_NE(at, std::string::npos) << output;
    int server = 0, port = 0, bots = 0;
    ASSERT_EQ(std::sscanf(output.c_str() + at, "solo-play: server %d on port %d, 2 bots in %d",
                          &server, &port, &bots),
              3)
        << output;
    EXPECT_EQ(dir.read("args.txt"), "--start --connect 127.0.0.1:" + std::to_string(port) + "\n");
    for (const int pid : {server, bots}) EXPECT_NE(::kill(pid, 0), 0) << pid << " is still running";
    EXPECT_NE(dir.read("voka-bot.log").find("Bot 2:"), std::string::npos);
    EXPECT_EQ(
        runCommand(std::string(VOKA_SOURCE_DIR) +
                   "/scripts/solo-play --build x --game-dir y --bots 0 -- true 2>&1; echo rc=$?"),
        "solo-play: --bots takes a number from 1 to 126\nrc=2\n");
}

}  // namespace
