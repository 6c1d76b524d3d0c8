// The built voka-server with real game clients (NetClient) on loopback.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
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
        std::uint16_t found = 0;
        loopback::eventually(
            [&] {
                const std::string text = log();
                const auto at = text.find("listening on ");
                const auto colon = text.find(':', at == std::string::npos ? 0 : at + 13);
                if (at == std::string::npos || colon == std::string::npos) return false;
                found = static_cast<std::uint16_t>(std::stoi(text.substr(colon + 1)));
                return true;
            },
            5000);
        return found;
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

// Plays the World of one client: remote objects by identifier, and what was removed.
struct Player {
    net::NetClient client;
    std::mutex lock;
    std::map<std::int32_t, std::unique_ptr<TestObject>> remote;
    std::vector<std::int32_t> removed;

    Player() {
        client.setNewObjectHandler(
            this, [](void* context, std::int32_t id, std::uint8_t type, net::Pose pose) {
                auto* self = static_cast<Player*>(context);
                std::lock_guard<std::mutex> guard(self->lock);
                auto& object = self->remote[id];
                object = std::make_unique<TestObject>(id, type, pose);
                self->client.registerRemote(*object);
                return std::int32_t{0};
            });
        client.setRemoveObjectHandler(this, [](void* context, std::int32_t id, std::uint8_t) {
            auto* self = static_cast<Player*>(context);
            std::lock_guard<std::mutex> guard(self->lock);
            self->removed.push_back(id);
            return std::int32_t{0};
        });
    }
    bool has(std::int32_t id) {
        std::lock_guard<std::mutex> guard(lock);
        return remote.count(id) == 1;
    }
    net::Pose poseOf(std::int32_t id) {
        std::lock_guard<std::mutex> guard(lock);
        return remote.at(id)->netPose().load();
    }
    bool wasRemoved(std::int32_t id) {
        std::lock_guard<std::mutex> guard(lock);
        return std::find(removed.begin(), removed.end(), id) != removed.end();
    }
};

TEST(ServerEndToEnd, TwoGameClientsSeeEachOthersObjects) {
    ServerProcess server({"--port", "0", "--bind", "127.0.0.1", "--level", "2"});
    const std::uint16_t port = server.port();
    ASSERT_NE(port, 0) << server.log();
    Player red, green;
    ASSERT_EQ(red.client.connect("127.0.0.1", port), 0);
    ASSERT_TRUE(loopback::eventually([&] { return red.client.getClientNumber() == 1; }));
    ASSERT_EQ(green.client.connect("127.0.0.1", port), 0);
    ASSERT_TRUE(loopback::eventually([&] { return green.client.getClientNumber() == 2; }));

    TestObject voka(red.client.makeId(), net::TYPE_VOKA_RED, {10, 20, 0, 0, 0, 0});
    ASSERT_EQ(voka.netId() >> 16, 1);
    red.client.addObject(voka);
    ASSERT_TRUE(loopback::eventually([&] { return green.has(voka.netId()); }));
    voka.netPose().store({11, 22, 1, 0, 0, 90});
    EXPECT_TRUE(loopback::eventually([&] { return green.poseOf(voka.netId())[5] == 90.0f; }));
    EXPECT_FALSE(red.has(voka.netId()));  // nothing echoed

    red.client.removeObject(voka);
    EXPECT_TRUE(loopback::eventually([&] { return green.wasRemoved(voka.netId()); }));
    red.client.disconnect();
    EXPECT_TRUE(loopback::eventually([&] { return server.logHas("client 1 left: goodbye"); }));
    green.client.disconnect();

    server.signal(SIGTERM);
    EXPECT_EQ(server.wait(), 0);
    EXPECT_TRUE(server.logHas("voka-server stopped"));
}

TEST(ServerEndToEnd, GarbageFromOneClientLeavesTheServerServingTheOthers) {
    ServerProcess server({"--port", "0", "--bind", "127.0.0.1"});
    const std::uint16_t port = server.port();
    ASSERT_NE(port, 0);
    loopback::Peer hostile = loopback::Peer::connectTo(port);
    std::vector<std::uint8_t> garbage(4096);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<std::uint8_t>(i * 37 + 1);
    hostile.send(garbage);
    EXPECT_TRUE(hostile.waitForClose());
    Player player;
    ASSERT_EQ(player.client.connect("127.0.0.1", port), 0);
    EXPECT_TRUE(loopback::eventually([&] { return player.client.getClientNumber() > 0; }));
    player.client.disconnect();
    EXPECT_TRUE(server.logHas("cut: undefined type byte"));
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
