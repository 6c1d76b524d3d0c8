// The built voka-server with real game clients (NetClient) on loopback.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "loopback.h"
#include "net/net_client.h"
#include "support/e2e_runner.h"
#include "support/temp_dir.h"
#include "test_object.h"

extern char** environ;

namespace {

// voka-server started with the given options plus an ephemeral loopback port; its
// standard output goes to a file in a scratch directory.
class ServerProcess {
  public:
    explicit ServerProcess(std::vector<std::string> options) {
        const std::string binary = testing_support::builtBinary("server/voka-server");
        options.insert(options.begin(), binary);
        std::vector<char*> argv;
        for (auto& option : options) argv.push_back(option.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath().c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        if (posix_spawn(&pid_, binary.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ServerProcess() {
        if (pid_ > 0 && exitCode_ == kRunning) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    std::string logPath() const { return dir_.file("server.log"); }
    std::string log() const { return dir_.read("server.log"); }
    bool logHas(const std::string& part) const { return log().find(part) != std::string::npos; }
    // The port from the "listening on ADDRESS:PORT" line, 0 when it does not come.
    std::uint16_t port() {
        std::uint16_t port = 0;
        loopback::eventually(
            [&] {
                const std::string text = log();
                const std::size_t at = text.find("listening on ");
                const std::size_t colon = text.find(':', at);
                if (at == std::string::npos || colon == std::string::npos) return false;
                port = static_cast<std::uint16_t>(std::atoi(text.c_str() + colon + 1));
                return port != 0;
            },
            5000);
        return port;
    }
    // The exit code, -1 for a signal, or kRunning when it has not ended in time.
    int wait(int timeoutMs = 5000) {
        loopback::eventually(
            [&] {
                int status = 0;
                if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
                exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                return true;
            },
            timeoutMs);
        return exitCode_;
    }
    void signal(int number) const { ::kill(pid_, number); }

    static constexpr int kRunning = -1000;

  private:
    testing_support::TempDir dir_;
    pid_t pid_ = -1;
    int exitCode_ = kRunning;
};

TEST(ServerEndToEnd, TwoGameClientsSeeEachOthersObjects) {
    ServerProcess server({"--port", "0", "--bind", "127.0.0.1", "--level", "2"});
    const std::uint16_t port = server.port();
    ASSERT_NE(port, 0) << server.log();
    net::NetClient red, green;
    RemoteWorld redWorld(red), greenWorld(green);
    ASSERT_EQ(red.connect("127.0.0.1", port), 0);
    ASSERT_TRUE(loopback::eventually([&] { return red.getClientNumber() == 1; }));
    ASSERT_EQ(green.connect("127.0.0.1", port), 0);
    ASSERT_TRUE(loopback::eventually([&] { return green.getClientNumber() == 2; }));

    TestObject voka(red.makeId(), net::TYPE_VOKA_RED, {10, 20, 0, 0, 0, 0});
    ASSERT_EQ(voka.netId() >> 16, 1);
    red.addObject(voka);
    ASSERT_TRUE(loopback::eventually([&] { return greenWorld.poseOf(voka.netId()).has_value(); }));
    voka.netPose().store({11, 22, 1, 0, 0, 90});  // then moves
    EXPECT_TRUE(loopback::eventually(
        [&] { return greenWorld.poseOf(voka.netId()) == net::Pose{11, 22, 1, 0, 0, 90}; }));
    EXPECT_EQ(redWorld.size(), 0u);  // nothing echoed

    red.removeObject(voka);
    EXPECT_TRUE(loopback::eventually([&] { return greenWorld.size() == 0; }));
    red.disconnect();
    EXPECT_TRUE(loopback::eventually([&] { return server.logHas("client 1 left: goodbye"); }));
    green.disconnect();

    server.signal(SIGTERM);
    EXPECT_EQ(server.wait(), 0);
    EXPECT_TRUE(server.logHas("voka-server stopped"));
}

TEST(ServerEndToEnd, HelpAndBadOptions) {
    ServerProcess help({"--help"});
    EXPECT_EQ(help.wait(), 0);
    EXPECT_TRUE(help.logHas("--item-respawn SECONDS"));
    ServerProcess bad({"--max-players", "500"});
    EXPECT_EQ(bad.wait(), 2);
    EXPECT_TRUE(bad.logHas("bad value for --max-players: 500"));
}

}  // namespace
