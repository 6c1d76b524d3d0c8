// The built voka-bot: what it links, its command line, and its end when the server goes.
#include <gtest/gtest.h>
#include <signal.h>

#include <future>
#include <string>

#include "loopback.h"
#include "server_process.h"
#include "support/e2e_runner.h"

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

}  // namespace
