#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "loopback.h"
#include "server_process.h"
#include "support/e2e_runner.h"
#include "support/temp_dir.h"

namespace {

using testing_support::runCommand;

// Holds a port of 127.0.0.1 for the server under test: bound with SO_REUSEADDR but not
// listening, so the server (which sets SO_REUSEADDR too) may bind and listen on it, and
// no other test's socket is given it meanwhile.
struct ReservedPort {
    loopback::Peer socket{::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    std::uint16_t port = 0;
    ReservedPort() {
        const int on = 1;
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::setsockopt(socket.fd(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0 &&
            ::bind(socket.fd(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::getsockname(socket.fd(), reinterpret_cast<sockaddr*>(&address), &size) == 0)
            port = ntohs(address.sin_port);
    }
};

class LocalServerScript : public testing::Test {
  protected:
    std::string start(const std::string& address, std::uint16_t port) {
        dir.write("zrv.cfg", "playername Tester\nserver_ip " + address + "\nserver_port " +
                                 std::to_string(port) + "\n");
        std::string pid =
            runCommand(script + " start " + testing_support::builtBinary("server/voka-server") +
                       " " + dir.file("zrv.cfg") + " " + dir.file("server.log"));
        while (!pid.empty() && (pid.back() == '\n' || pid.back() == ' ')) pid.pop_back();
        return pid;
    }
    void stop(const std::string& pid) { runCommand(script + " stop " + pid); }

    const std::string script = std::string(VOKA_SOURCE_DIR) + "/scripts/local-server";
    testing_support::TempDir dir;
};

TEST_F(LocalServerScript, StartsAServerForALoopbackAddressAndStopsIt) {
    const ReservedPort reserved;
    const std::uint16_t port = reserved.port;
    ASSERT_NE(port, 0);
    const std::string pid = start("127.0.0.1", port);
    ASSERT_FALSE(pid.empty());
    loopback::Peer player = loopback::Peer::connectTo(port);
    ASSERT_TRUE(player.valid());
    EXPECT_EQ(player.read(12).size(), 12u);  // MSG_CLIENT_NUMBER
    // A second game on the same machine uses the server that runs.
    EXPECT_EQ(start("127.0.0.1", port), "");
    stop(pid);
    EXPECT_TRUE(player.waitForClose());
    EXPECT_NE(::kill(std::stoi(pid), 0), 0);
    EXPECT_NE(dir.read("server.log").find("voka-server stopped"), std::string::npos);
}

TEST_F(LocalServerScript, LeavesRemoteAddressesAlone) {
    // Never probed or started: any port will do.
    EXPECT_EQ(start("192.0.2.10", 24500), "");
    EXPECT_EQ(start("game.example.org", 24500), "");
}

TEST(ServerEndToEnd, BadOptionsEndWithAMessage) {
    ServerProcess bad({"--max-players", "500"});
    EXPECT_EQ(bad.wait(), 2);
    EXPECT_TRUE(bad.logHas("bad value for --max-players: 500"));
}

}  // namespace
