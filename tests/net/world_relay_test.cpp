// The World's handlers on the receiving thread, driven by a scripted peer through the
// real relay server on loopback.
#include <thread>

#include "server/relay_server.h"
#include "world_fixture.h"

namespace {

class WorldRelayTest : public WorldTest {
  protected:
    WorldRelayTest() {
        server::ServerConfig config;
        config.bindAddress = "127.0.0.1";
        config.port = 0;
        relay = std::make_unique<server::RelayServer>(config, [](const std::string&) {});
        std::string error;
        EXPECT_TRUE(relay->listen(error)) << error;
        loop = std::thread([this] { relay->run(); });
    }
    ~WorldRelayTest() override { stopRelay(); }
    void stopRelay() {
        if (!loop.joinable()) return;
        relay->stop();
        loop.join();
        relay.reset();
    }
    std::uint16_t serverPort() override { return relay->port(); }
    void welcome() override {}

    // The next relayed message of `type` that reaches the peer.
    std::optional<net::ServerMessage> next(std::uint8_t type) {
        while (auto message = loopback::readMessage(peer, &net::serverMessageLength)) {
            if (message->type() != type) continue;
            kept = *message;
            return net::decodeServerMessage(kept.bytes.data(), kept.length);
        }
        return std::nullopt;
    }
    // Runs frames until `condition` holds, for at most a generous deadline.
    template <typename Condition>
    bool frameUntil(Condition condition) {
        return loopback::eventually([&] {
            frame();
            return condition();
        });
    }

    std::unique_ptr<server::RelayServer> relay;
    std::thread loop;
    loopback::Peer peer;
    net::WireMessage kept;
};

TEST_F(WorldRelayTest, APeerAppearsMovesShootsNamesItselfTakesAnItemKillsUsAndLeavesWithTheServer) {
    ASSERT_EQ(world->addItem(5, ITEM_AMOR_50, 100, 100, 0), 0);
    world->announceOwnVoka();
    peer = loopback::Peer::connectTo(relay->port());
    ASSERT_TRUE(next(net::MSG_LEVEL));
    const std::int32_t own = world->ownId(), voka = (2 << 16) | 1, rail = (2 << 16) | 3;

    peer.send(net::encodeNew(TYPE_VOKA_GREEN, 1, {400, 400, 0, 0, 0, 90}));
    ASSERT_TRUE(frameUntil([&] { return world->player(voka).has_value(); }));
    peer.send(net::encodeUpdate(1, {410, 400, 0, 0, 0, 90}));
    ASSERT_TRUE(frameUntil([&] { return world->player(voka)->pose.x == 410; }));

    peer.send(net::encodeNew(TYPE_BULLET_RAIL, 2, {410, 400, 5, 500, 400, 0}));
    ASSERT_TRUE(frameUntil([&] { return world->tableSizes().beams == 2; }));
    peer.send(net::encodeRemove(2, TYPE_BULLET_RAIL));
    ASSERT_TRUE(frameUntil([&] { return world->tableSizes().beams == 0; }));

    peer.send(net::encodeName(1, "peer"));
    peer.send(net::encodeWeapon(1, WEAPON_RAIL));
    ASSERT_TRUE(frameUntil([&] {
        return world->player(voka)->name == "peer" && world->player(voka)->weapon == WEAPON_RAIL;
    }));
    peer.send(net::encodeEvent(net::MSG_ITEM_TAKEN, {1, TYPE_VOKA_GREEN}, {5, ITEM_AMOR_50},
                               {voka, TYPE_VOKA_GREEN}));
    ASSERT_TRUE(frameUntil([&] { return world->itemTaken(5).value_or(0) != 0; }));

    PlayerStatus::setArmor(0);
    PlayerStatus::setHealth(30);
    peer.send(net::encodeNew(TYPE_BULLET_RAIL, 3, {410, 400, 5, 800, 800, 0}));
    peer.send(net::encodeEvent(net::MSG_HIT, {3, TYPE_BULLET_RAIL}, {own, TYPE_VOKA_RED},
                               {voka, TYPE_VOKA_GREEN}));
    const auto kill = next(net::MSG_KILL);
    ASSERT_TRUE(kill);
    EXPECT_EQ(std::make_tuple(kill->id, kill->id2, kill->id3), std::make_tuple(own, rail, voka));
    ASSERT_TRUE(frameUntil([&] { return world->isDead(); }));
    EXPECT_EQ(world->rankingRows().size(), 2u);

    world->respawn();
    const auto respawn = next(net::MSG_RESPAWN);
    ASSERT_TRUE(respawn);
    EXPECT_EQ(respawn->id, own);
    EXPECT_FALSE(world->isDead());

    // Without the server the match goes on alone.
    stopRelay();
    ASSERT_TRUE(frameUntil([&] { return world->tableSizes().players == 0; }));
}

}  // namespace
