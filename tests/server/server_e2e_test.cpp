// The built voka-server with real game clients (NetClient) on loopback.

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "loopback.h"
#include "net/net_client.h"
#include "support/e2e_runner.h"
#include "support/temp_dir.h"
#include "test_object.h"

namespace {

// voka-server run from a scratch directory; `logHas` waits for a part of a line of its
// output, `port` for the one it listens on.
class ServerProcess {
  public:
    explicit ServerProcess(const std::vector<std::string>& options)
        : run_(testing_support::builtBinary("server/voka-server"), dir_.path(), options) {}

    bool logHas(const std::string& part) {
        return loopback::eventually([&] { return after(part).has_value(); }, 5000);
    }
    std::uint16_t port() {
        const std::string prefix = "listening on 127.0.0.1:";
        if (!logHas(prefix)) return 0;
        return static_cast<std::uint16_t>(std::atoi(after(prefix)->c_str()));
    }
    int wait() { return run_.wait(5000); }
    void signal(int number) { run_.signal(number); }
    std::string report() { return run_.report(); }

  private:
    // The rest of the first line of output that holds `part`.
    std::optional<std::string> after(const std::string& part) {
        std::vector<std::string> lines = run_.stdoutLines();
        for (const std::string& line : run_.stderrLines()) lines.push_back(line);
        for (const std::string& line : lines)
            if (const auto at = line.find(part); at != std::string::npos)
                return line.substr(at + part.size());
        return std::nullopt;
    }

    testing_support::TempDir dir_;
    testing_support::E2eRun run_;
};

TEST(ServerEndToEnd, TwoGameClientsSeeEachOthersObjects) {
    ServerProcess server({"--port", "0", "--bind", "127.0.0.1", "--level", "2"});
    const std::uint16_t port = server.port();
    ASSERT_NE(port, 0) << server.report();
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
    EXPECT_TRUE(server.logHas("client 1 left: goodbye"));
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
