#include <gtest/gtest.h>
#include <signal.h>

#include <string>

#include "loopback.h"
#include "server_process.h"
#include "support/e2e_runner.h"
#include "support/temp_dir.h"

namespace {

using testing_support::runCommand;

// Remote addresses are never probed or started: any port will do for them.
TEST(LocalServerScript, StartsAServerForALoopbackAddressOnlyAndStopsIt) {
    const std::string script = std::string(VOKA_SOURCE_DIR) + "/scripts/local-server";
    testing_support::TempDir dir;
    const auto start = [&](const std::string& address, std::uint16_t port) {
        dir.write("zrv.cfg", "playername Tester\nserver_ip " + address + "\nserver_port " +
                                 std::to_string(port) + "\n");
        const std::string pid =
            runCommand(script + " start " + testing_support::builtBinary("server/voka-server") +
                       " " + dir.file("zrv.cfg") + " " + dir.file("server.log"));
        return pid.substr(0, pid.find_first_of(" \n"));
    };
    EXPECT_EQ(start("192.0.2.10", 24500) + start("game.example.org", 24500), "");
    const loopback::Listener reserved(/*listening=*/false);  // no other test gets the port
    ASSERT_NE(reserved.port(), 0);
    const std::string pid = start("127.0.0.1", reserved.port());
    ASSERT_FALSE(pid.empty());
    loopback::Peer player = loopback::Peer::connectTo(reserved.port());
    EXPECT_EQ(player.read(12).size(), 12u);  // MSG_CLIENT_NUMBER
    // A second game on the same machine uses the server that runs.
    EXPECT_EQ(start("127.0.0.1", reserved.port()), "");
    runCommand(script + " stop " + pid);
    EXPECT_TRUE(player.waitForClose());
    EXPECT_NE(::kill(std::stoi(pid), 0), 0);
    EXPECT_NE(dir.read("server.log").find("voka-server stopped"), std::string::npos);
    // The built server itself ends bad options with a message.
    ServerProcess bad({"--max-players", "500"});
    EXPECT_EQ(bad.wait(), 2);
    EXPECT_TRUE(bad.logHas("bad value for --max-players: 500"));
}

}  // namespace
