// What the client does with each server message: handlers, the remote object table,
// the client number, and what it refuses.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "loopback.h"
#include "net/net_client.h"
#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "test_object.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Stands in for the World: creates remote objects on MSG_NEW and records every call.
struct Recorder {
    net::NetClient* client = nullptr;
    std::map<std::int32_t, std::unique_ptr<TestObject>> objects;
    std::vector<std::string> calls;

    static std::int32_t onNew(void* context, std::int32_t id, std::uint8_t type, net::Pose pose) {
        auto* self = static_cast<Recorder*>(context);
        if (type != net::TYPE_VOKA_RED && type != net::TYPE_VOKA_GREEN &&
            type != net::TYPE_BULLET_MG && type != net::TYPE_BULLET_RAIL) {
            return -1;
        }
        auto& object = self->objects[id];
        object = std::make_unique<TestObject>(id, type, pose);
        self->client->registerRemote(*object);
        self->calls.push_back("new " + std::to_string(id));
        return 0;
    }
    static std::int32_t onRemove(void* context, std::int32_t id, std::uint8_t type) {
        auto* self = static_cast<Recorder*>(context);
        self->calls.push_back("remove " + std::to_string(id) + " " + std::to_string(type));
        return self->objects.erase(id) == 1 ? 0 : -1;
    }
    static std::int32_t onCombat(void* context, std::uint8_t type, std::int32_t id1,
                                 std::int32_t id2, std::int32_t id3, std::uint8_t type1,
                                 std::uint8_t type2) {
        static_cast<Recorder*>(context)->calls.push_back(
            std::string(1, static_cast<char>(type)) + " " + std::to_string(id1) + " " +
            std::to_string(id2) + " " + std::to_string(id3) + " " + std::to_string(type1) + " " +
            std::to_string(type2));
        return 0;
    }
    static void onData(void* context, std::uint8_t type, std::int32_t id,
                       const std::uint8_t* payload, std::size_t length) {
        static_cast<Recorder*>(context)->calls.push_back(
            std::string(1, static_cast<char>(type)) + " " + std::to_string(id) + " " +
            std::to_string(payload[0]) + " len " + std::to_string(length));
    }
};

class DispatchTest : public testing::Test {
  protected:
    void SetUp() override {
        recorder.client = &client;
        client.setNewObjectHandler(&recorder, &Recorder::onNew);
        client.setRemoveObjectHandler(&recorder, &Recorder::onRemove);
        client.setCombatEventHandler(&recorder, &Recorder::onCombat);
        client.setDataEventHandler(&recorder, &Recorder::onData);
    }
    void deliver(const net::WireMessage& message) {
        net::NetClient::dispatch(&client, message.type(), message.body(), message.length);
    }

    net::NetClient client;
    Recorder recorder;
};

const net::Pose kPose = {100, 200, 3, 0, 0, 45};

TEST_F(DispatchTest, UpdatesMoveRegisteredObjectsUntilTheyAreRemoved) {
    deliver(net::relay(2, net::encodeNew(net::TYPE_VOKA_RED, 0x0081, kPose)));
    const std::int32_t id = 0x020081;
    ASSERT_EQ(recorder.objects.count(id), 1u);
    EXPECT_EQ(recorder.objects[id]->netPose().load(), kPose);

    deliver(net::relay(2, net::encodeUpdate(0x0081, {1, 1, 1, 1, 1, 1})));
    EXPECT_EQ(recorder.objects[id]->netPose().load(), (net::Pose{1, 1, 1, 1, 1, 1}));

    deliver(net::relay(2, net::encodeRemove(0x0081, net::TYPE_VOKA_RED)));
    EXPECT_EQ(client.remoteObjectCount(), 0u);
    // An update just behind the removal names nothing any more and is dropped.
    deliver(net::relay(2, net::encodeUpdate(0x0081, {2, 2, 2, 2, 2, 2})));
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"new 131201", "remove 131201 128"}));
}

TEST_F(DispatchTest, NonFinitePosesAreNeverStored) {
    deliver(net::relay(1, net::encodeNew(net::TYPE_VOKA_GREEN, 5, kPose)));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    deliver(net::relay(1, net::encodeUpdate(5, {1, 2, nan, 0, 0, 0})));
    deliver(net::relay(1, net::encodeUpdate(5, {1, 2, 3, 0, -inf, 0})));
    EXPECT_EQ(recorder.objects[0x010005]->netPose().load(), kPose);
    deliver(net::relay(1, net::encodeNew(net::TYPE_BULLET_RAIL, 6, {inf, 0, 0, 0, 0, 0})));
    EXPECT_EQ(recorder.objects.count(0x010006), 0u);
}

TEST_F(DispatchTest, UnknownTypeCodesAndRepeatedAnnouncementsAddNothing) {
    deliver(net::relay(1, net::encodeNew(0x84, 1, kPose)));
    deliver(net::relay(1, net::encodeNew(0x8B, 2, kPose)));
    EXPECT_EQ(client.remoteObjectCount(), 0u);
    deliver(net::relay(1, net::encodeNew(net::TYPE_VOKA_RED, 3, kPose)));
    deliver(net::relay(1, net::encodeNew(net::TYPE_VOKA_RED, 3, kPose)));
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"new 65539"}));
}

TEST_F(DispatchTest, AFloodOfAnnouncementsStopsAtTheCap) {
    for (std::int32_t n = 0; n < static_cast<std::int32_t>(net::NetClient::kMaxRemoteObjects) + 500;
         ++n) {
        deliver(net::relay(static_cast<std::uint8_t>(1 + n / 30000),
                           net::encodeNew(0x82, n % 30000, kPose)));
    }
    EXPECT_EQ(client.remoteObjectCount(), net::NetClient::kMaxRemoteObjects);
    EXPECT_EQ(recorder.objects.size(), net::NetClient::kMaxRemoteObjects);
    // Room again after a removal.
    deliver(net::relay(1, net::encodeRemove(0, 0x82)));
    deliver(net::relay(9, net::encodeNew(0x82, 1, kPose)));
    EXPECT_EQ(recorder.objects.count(0x090001), 1u);
}

TEST_F(DispatchTest, EventsReachTheirHandlers) {
    deliver(net::relay(
        3, net::encodeEvent(net::MSG_KILL, {0x0001, 0x80}, {0x020009, 0x83}, {0x020001, 0x81})));
    deliver(net::relay(3, net::encodeName(0x0001, "Kim")));
    deliver(net::relay(3, net::encodeEvent(net::MSG_ITEM_TAKEN, {0x0001, 0x80}, {0x000104, 0x86},
                                           {0x0001, 0x80})));
    deliver(net::encodeItemState(0, 0x000104, 0));
    deliver(net::encodeLevel(2));
    deliver(net::relay(3, net::encodeFrags(0x0001, 4)));
    deliver(net::relay(3, net::encodeWeapon(0x0001, 7)));
    deliver(net::relay(3, net::encodeRespawn(0x0001)));
    deliver(net::relay(3, net::encodeInfoRequest(0x0001)));
    EXPECT_EQ(recorder.calls,
              (std::vector<std::string>{"C 196609 131081 131073 128 131", "B 196609 75 len 8",
                                        "G 260 128 len 5", "G 260 0 len 5", "F 0 2 len 8",
                                        "I 196609 4 len 8", "K 196609 7 len 8",
                                        "J 196609 102 len 8", "H 196609 115 len 8"}));
}

TEST_F(DispatchTest, ClearedHandlersAreNotCalled) {
    client.setNewObjectHandler(nullptr, nullptr);
    client.setDataEventHandler(nullptr, nullptr);
    deliver(net::relay(1, net::encodeNew(net::TYPE_VOKA_RED, 1, kPose)));
    deliver(net::encodeLevel(1));
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(DispatchTest, UnnumberedClientKeepsIdentifierMinusOne) {
    EXPECT_EQ(client.makeId(), -1);
    deliver(net::encodeClientNumber(6));
    const std::int32_t id = client.makeId();
    EXPECT_EQ(id >> 16, 6);
}

TEST(DispatchStream, UndefinedTypesKeepTheStreamInStep) {
    loopback::Listener listener;
    net::NetClient client;
    ASSERT_EQ(client.connect("127.0.0.1", listener.port()), 0);
    loopback::Peer server(listener.accept());
    Bytes stream;
    for (int type = 0x4C; type <= 0x7F; ++type) {
        stream.push_back(static_cast<std::uint8_t>(type));
        // Bodies that would look like messages if the client lost step.
        for (int i = 0; i < 11; ++i) stream.push_back(i % 2 ? 0x40 : 0x45);
    }
    const net::WireMessage number = net::encodeClientNumber(12);
    stream.insert(stream.end(), number.bytes.begin(), number.bytes.begin() + number.length);
    server.send(stream);
    EXPECT_TRUE(loopback::eventually([&] { return client.getClientNumber() == 12; }));
    EXPECT_TRUE(client.isReceiving());
    client.disconnect();
}

}  // namespace
