// What the client does with each server message: handlers, the remote object table,
// the client number, and what it refuses.

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "net/net_client.h"
#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "test_object.h"

namespace {

using Calls = std::vector<std::string>;

// Stands in for the World: creates remote objects on MSG_NEW and records every call.
struct Recorder {
    net::NetClient* client = nullptr;
    std::map<std::int32_t, std::unique_ptr<TestObject>> objects;
    Calls calls;

    template <typename... Values>
    static void note(void* context, const char* what, Values... values) {
        std::string line = what;
        (((line += ' ') += std::to_string(+values)), ...);
        static_cast<Recorder*>(context)->calls.push_back(line);
    }
    static std::int32_t onNew(void* context, std::int32_t id, std::uint8_t type, net::Pose pose) {
        auto* self = static_cast<Recorder*>(context);
        auto object = std::make_unique<TestObject>(id, type, pose);
        if (!self->client->registerRemote(*object)) return -1;
        self->objects[id] = std::move(object);
        note(context, "new", id);
        return 0;
    }
    static std::int32_t onRemove(void* context, std::int32_t id, std::uint8_t type) {
        note(context, "remove", id, type);
        return static_cast<Recorder*>(context)->objects.erase(id) == 1 ? 0 : -1;
    }
    static std::int32_t onCombat(void* context, std::uint8_t type, std::int32_t id1,
                                 std::int32_t id2, std::int32_t id3, std::uint8_t type1,
                                 std::uint8_t type2) {
        note(context, "combat", type, id1, id2, id3, type1, type2);
        return 0;
    }
    static void onData(void* context, std::uint8_t type, std::int32_t id,
                       const std::uint8_t* payload, std::size_t length) {
        note(context, "data", type, id, payload[0], length);
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

TEST_F(DispatchTest, UpdatesMoveAnnouncedObjectsUntilTheyAreRemoved) {
    deliver(net::relay(2, net::encodeNew(net::TYPE_VOKA_RED, 0x0081, kPose)));
    deliver(net::relay(2, net::encodeNew(net::TYPE_VOKA_RED, 0x0081, kPose)));  // again: ignored
    const std::int32_t id = 0x020081;
    ASSERT_EQ(recorder.objects.count(id), 1u);
    EXPECT_EQ(recorder.objects[id]->netPose().load(), kPose);

    deliver(net::relay(2, net::encodeUpdate(0x0081, {1, 1, 1, 1, 1, 1})));
    EXPECT_EQ(recorder.objects[id]->netPose().load(), (net::Pose{1, 1, 1, 1, 1, 1}));

    // The handler hears the type code the object was announced with, whatever the
    // removal names; a removal of an object never announced reaches no handler.
    deliver(net::relay(2, net::encodeRemove(0x0081, net::TYPE_BULLET_RAIL)));
    deliver(net::relay(2, net::encodeRemove(0x0082, net::TYPE_VOKA_RED)));
    EXPECT_EQ(client.remoteObjectCount(), 0u);
    // An update just behind the removal names nothing any more and is dropped.
    deliver(net::relay(2, net::encodeUpdate(0x0081, {2, 2, 2, 2, 2, 2})));
    EXPECT_EQ(recorder.calls, (Calls{"new 131201", "remove 131201 128"}));
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

TEST_F(DispatchTest, OnlyABodyOfTheAnnouncementsLengthIsTaken) {
    const std::uint8_t body[40] = {};
    for (std::size_t length = 0; length < sizeof body; ++length) {
        net::NetClient::dispatch(&client, net::TYPE_VOKA_RED, body, length);
    }
    EXPECT_EQ(recorder.objects.size(), 1u);
}

TEST_F(DispatchTest, EventsReachTheirHandlers) {
    deliver(net::relay(
        3, net::encodeEvent(net::MSG_KILL, {0x0001, 0x80}, {0x020009, 0x83}, {0x020001, 0x81})));
    deliver(net::relay(3, net::encodeName(0x0001, "Kim")));
    deliver(net::relay(3, net::encodeEvent(net::MSG_ITEM_TAKEN, {0x0001, 0x80}, {0x000104, 0x86},
                                           {0x0001, 0x80})));
    deliver(net::encodeLevel(2));
    EXPECT_EQ(recorder.calls, (Calls{"combat 67 196609 131081 131073 128 131",
                                     "data 66 196609 75 8", "data 71 260 128 5", "data 70 0 2 8"}));
}

TEST_F(DispatchTest, ClearedHandlersAreNotCalled) {
    client.setNewObjectHandler(nullptr, nullptr);
    deliver(net::relay(1, net::encodeNew(net::TYPE_VOKA_RED, 1, kPose)));
    // A handler that clears its own slot does not wait for itself.
    client.setDataEventHandler(
        &client, [](void* self, std::uint8_t, std::int32_t, const std::uint8_t*, std::size_t) {
            static_cast<net::NetClient*>(self)->setDataEventHandler(nullptr, nullptr);
        });
    deliver(net::encodeLevel(1));
    deliver(net::encodeLevel(1));
    EXPECT_TRUE(recorder.calls.empty());
}

}  // namespace
