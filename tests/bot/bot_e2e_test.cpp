// The built voka-bot: what it links, its command line, and its end when the server goes.
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "loopback.h"
#include "server/relay_server.h"
#include "support/e2e_runner.h"

namespace {

using testing_support::runCommand;

const std::string kBot = testing_support::builtBinary("bot/voka-bot");

TEST(VokaBot, LinksNoGraphicsSoundOrWindowLibrary) {
    const std::string libraries = runCommand("ldd " + kBot);
    ASSERT_NE(libraries.find("libc.so"), std::string::npos) << libraries;
    for (const char* library : {"libGL", "libglut", "libSDL", "libX11", "libxcb"})
        EXPECT_EQ(libraries.find(library), std::string::npos) << library;
}

TEST(VokaBot, RefusesABadCommandLineWithExitCodeTwo) {
    const std::string output = runCommand(kBot + " --count 2 --skill 9 2>&1; echo rc=$?");
    EXPECT_NE(output.find("bad value for --skill: 9"), std::string::npos) << output;
    EXPECT_NE(output.find("rc=2"), std::string::npos) << output;
}

TEST(VokaBot, EndsWithExitCodeZeroWhenTheServerGoesAway) {
    server::ServerConfig config;
    config.bindAddress = "127.0.0.1";
    config.port = 0;
    std::mutex lock;
    std::vector<std::string> log;
    auto relay = std::make_unique<server::RelayServer>(config, [&](const std::string& line) {
        std::lock_guard<std::mutex> guard(lock);
        log.push_back(line);
    });
    std::string error;
    ASSERT_TRUE(relay->listen(error)) << error;
    std::thread loop([&] { relay->run(); });
    auto bots = std::async(std::launch::async, [&] {
        return runCommand(kBot + " --server 127.0.0.1:" + std::to_string(relay->port()) +
                          " --count 2 --skill 1 --game-dir " + VOKA_BINARY_DIR +
                          "/game 2>&1; echo rc=$?");
    });
    EXPECT_TRUE(loopback::eventually(
        [&] {
            std::lock_guard<std::mutex> guard(lock);
            return log.size() >= 2;
        },
        20000));
    relay->stop();
    loop.join();
    relay.reset();
    const std::string output = bots.get();
    EXPECT_NE(output.find("the server has gone away"), std::string::npos) << output;
    EXPECT_NE(output.find("rc=0"), std::string::npos) << output;
}

}  // namespace
