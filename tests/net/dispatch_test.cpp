// What the client does with each server message: handlers, the remote object table,
// the client number, and what it refuses.

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

#include "net/net_client.h"
#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "test_object.h"

namespace {

const net::Pose kPose = {100, 200, 3, 0, 0, 45};

class DispatchTest : public testing::Test {
  public:
    void deliver(const net::WireMessage& message) {
        net::NetClient::dispatch(&client, message.type(), message.body(), message.length);
    }

    net::NetClient client;
    RemoteWorld world{client};
    int calls = 0;
};

// The World hears the type code the object was announced with, whatever the removal
// names; an update just behind the removal names nothing any more and is dropped.
TEST_F(DispatchTest, UpdatesMoveAnnouncedObjectsUntilTheyAreRemoved) {
    deliver(net::relay(2, net::encodeNew(net::TYPE_VOKA_RED, 0x0081, kPose)));
    deliver(net::relay(2, net::encodeNew(net::TYPE_BULLET_MG, 0x0081, {})));  // again: ignored
    EXPECT_EQ(world.poseOf(0x020081), kPose);
    deliver(net::relay(2, net::encodeUpdate(0x0081, {1, 1, 1, 1, 1, 1})));
    EXPECT_EQ(world.poseOf(0x020081), (net::Pose{1, 1, 1, 1, 1, 1}));
    deliver(net::relay(2, net::encodeRemove(0x0081, net::TYPE_BULLET_RAIL)));
    EXPECT_EQ(world.size() + client.remoteObjectCount(), 0u);
    deliver(net::relay(2, net::encodeUpdate(0x0081, {2, 2, 2, 2, 2, 2})));
}

TEST_F(DispatchTest, RegistrationRefusesATakenIdentifierAndAFullTable) {
    TestObject first(1, net::TYPE_VOKA_RED), again(1, net::TYPE_BULLET_MG);
    EXPECT_TRUE(client.registerRemote(first));
    EXPECT_FALSE(client.registerRemote(again));
    std::vector<std::unique_ptr<TestObject>> more;
    std::size_t accepted = 0;
    for (std::int32_t id = 2; more.size() < net::NetClient::kMaxRemoteObjects; ++id) {
        more.push_back(std::make_unique<TestObject>(id, net::TYPE_BULLET_MG));
        accepted += client.registerRemote(*more.back());
    }
    EXPECT_EQ(accepted, net::NetClient::kMaxRemoteObjects - 1);
}

// Poses that are not finite are never stored; only a body of the announcement's length
// is taken.
TEST_F(DispatchTest, NonFinitePosesAndShortBodiesAreRefused) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    deliver(net::relay(1, net::encodeNew(net::TYPE_VOKA_GREEN, 5, kPose)));
    deliver(net::relay(1, net::encodeUpdate(5, {1, 2, nan, 0, 0, 0})));
    deliver(net::relay(1, net::encodeUpdate(5, {1, 2, 3, 0, -inf, 0})));
    EXPECT_EQ(world.poseOf(0x010005), kPose);
    deliver(net::relay(1, net::encodeNew(net::TYPE_BULLET_RAIL, 6, {inf, 0, 0, 0, 0, 0})));
    const std::uint8_t body[40] = {};
    for (std::size_t length = 0; length < sizeof body; ++length)
        net::NetClient::dispatch(&client, net::TYPE_VOKA_RED, body, length);
    EXPECT_EQ(world.size(), 2u);
}

// A cleared slot is not called; a handler that clears its own slot does not wait for
// itself. (The events' fields reaching the World are the World's relay test.)
TEST_F(DispatchTest, ClearedHandlersAreNotCalled) {
    client.setNewObjectHandler(nullptr, nullptr);
    deliver(net::relay(1, net::encodeNew(net::TYPE_VOKA_RED, 1, kPose)));
    EXPECT_EQ(world.size(), 0u);
    client.setDataEventHandler(
        this, [](void* self, std::uint8_t, std::int32_t, const std::uint8_t*, std::size_t) {
            auto& test = *static_cast<DispatchTest*>(self);
            ++test.calls;
            test.client.setDataEventHandler(nullptr, nullptr);
        });
    deliver(net::encodeLevel(1));
    deliver(net::encodeLevel(1));
    EXPECT_EQ(calls, 1);
}

}  // namespace
