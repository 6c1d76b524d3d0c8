// What the client does with each server message: handlers, the remote object table,
// and what it refuses. (The table's cap is the World's test; garbage the fuzz target's.)

#include <gtest/gtest.h>

#include <limits>

#include "net/net_client.h"
#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "test_object.h"

namespace {

// An update moves an announced object unless its pose is not finite; announcing it
// again changes nothing. The World hears the type code the object was announced with,
// whatever the removal names; an update just behind the removal names nothing any more.
// Only a body of the announcement's length is taken.
TEST(Dispatch, UpdatesMoveAnnouncedObjectsUntilTheyAreRemovedAndClearedHandlersRest) {
    net::NetClient client;
    RemoteWorld world{client};
    const auto deliver = [&](const net::WireMessage& m) {
        net::NetClient::dispatch(&client, m.type(), m.body(), m.length);
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const net::Pose pose = {100, 200, 3, 0, 0, 45}, moved = {1, 1, 1, 1, 1, 1};
    deliver(net::relay(2, net::encodeNew(net::TYPE_VOKA_RED, 0x0081, pose)));
    deliver(net::relay(2, net::encodeNew(net::TYPE_BULLET_MG, 0x0081, {})));
    deliver(net::relay(2, net::encodeNew(net::TYPE_BULLET_RAIL, 6, {nan, 0, 0, 0, 0, 0})));
    EXPECT_EQ(world.poseOf(0x020081), pose);
    deliver(net::relay(2, net::encodeUpdate(0x0081, moved)));
    deliver(net::relay(2, net::encodeUpdate(0x0081, {1, 2, 3, 0, -nan, 0})));
    EXPECT_EQ(world.poseOf(0x020081), moved);
    const std::uint8_t body[40] = {};
    for (std::size_t length = 0; length < sizeof body; ++length)
        net::NetClient::dispatch(&client, net::TYPE_VOKA_RED, body, length);
    EXPECT_EQ(world.size(), 2u);
    deliver(net::relay(2, net::encodeRemove(0x0081, net::TYPE_BULLET_RAIL)));
    EXPECT_EQ(world.size() + client.remoteObjectCount(), 2u);
    deliver(net::relay(2, net::encodeUpdate(0x0081, moved)));

    // A cleared slot is not called; a handler that clears its own slot does not wait for
    // itself. (The events' fields reaching the World are the bots' match test.)
    client.setNewObjectHandler(nullptr, nullptr);
    deliver(net::relay(1, net::encodeNew(net::TYPE_VOKA_RED, 1, pose)));
    EXPECT_EQ(world.size(), 1u);
    static int calls = 0;
    client.setDataEventHandler(
        &client, [](void* self, std::uint8_t, std::int32_t, const std::uint8_t*, std::size_t) {
            ++calls;
            static_cast<net::NetClient*>(self)->setDataEventHandler(nullptr, nullptr);
        });
    deliver(net::encodeLevel(1));
    deliver(net::encodeLevel(1));
    EXPECT_EQ(calls, 1);
}

}  // namespace
