#include "server/relay_hub.h"

#include <gtest/gtest.h>

#include <vector>

#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"

namespace {

using net::WireMessage;
using Verdict = server::RelayHub::Verdict;

struct RecordingOutbox : server::Outbox {
    std::vector<std::pair<int, WireMessage>> sent;
    void sendTo(int clientNumber, const WireMessage& message) override {
        sent.emplace_back(clientNumber, message);
    }
    std::vector<WireMessage> to(int clientNumber) const {
        std::vector<WireMessage> messages;
        for (const auto& [number, message] : sent)
            if (number == clientNumber) messages.push_back(message);
        return messages;
    }
};

const net::Pose kPose = {1, 2, 3, 4, 5, 6};

class RelayHubTest : public testing::Test {
  protected:
    int joinAndWelcome() {
        const int number = hub.join();
        if (number > 0) hub.welcome(number);
        return number;
    }

    server::HubOptions options{3, 4, 500, 5, 4096};
    RecordingOutbox outbox;
    server::RelayHub hub{options, outbox};
};

TEST_F(RelayHubTest, TakenItemComesBackAfterTheRespawnTime) {
    joinAndWelcome();
    joinAndWelcome();
    const WireMessage taken =
        net::encodeEvent(net::MSG_ITEM_TAKEN, {0x0003, 0x80}, {0x000105, 0x85}, {0x0003, 0x80});
    hub.receive(2, taken, 1000);
    hub.receive(1, taken, 1400);  // taken again meanwhile: the return is not postponed
    EXPECT_EQ(hub.nextDeadline(), 1500);
    outbox.sent.clear();
    hub.tick(1499);
    EXPECT_TRUE(outbox.sent.empty());
    hub.tick(1500);
    const WireMessage back = net::encodeItemState(0x020003, 0x000105, 0);
    EXPECT_EQ(outbox.sent, (std::vector<std::pair<int, WireMessage>>{{1, back}, {2, back}}));
    EXPECT_FALSE(hub.nextDeadline());
}

// The last pose (as a new object) and name, then the weapon, frags and taken item.
TEST_F(RelayHubTest, ALateJoinerHearsWhatItMissed) {
    joinAndWelcome();
    const WireMessage sent[] = {
        net::encodeNew(0x80, 0x0005, kPose),
        net::encodeUpdate(0x0005, {1, 1, 1, 0, 0, 0}),
        net::encodeName(0x0005, "Early"),
        net::encodeName(0x0005, "Earlier"),
        net::encodeWeapon(0x0005, 7),
        net::encodeFrags(0x0005, 2),
        net::encodeEvent(net::MSG_ITEM_TAKEN, {5, 0x80}, {0x000101, 0x89}, {5, 0x80}),
    };
    for (const WireMessage& m : sent) hub.receive(1, m, 0);
    outbox.sent.clear();
    const int late = joinAndWelcome();
    std::vector<WireMessage> missed = {net::encodeClientNumber(late),
                                       net::encodeLevel(options.level),
                                       net::relay(1, net::encodeNew(0x80, 5, {1, 1, 1, 0, 0, 0}))};
    for (std::size_t i = 3; i < std::size(sent); ++i) missed.push_back(net::relay(1, sent[i]));
    EXPECT_EQ(outbox.to(late), missed);
    EXPECT_EQ(outbox.sent.size(), missed.size());  // nothing to the others
}

TEST_F(RelayHubTest, TooManyObjectsBadShapesAndUnknownSendersAreCut) {
    joinAndWelcome();
    for (std::int32_t serial = 0; serial < 5; ++serial)
        ASSERT_EQ(hub.receive(1, net::encodeNew(0x82, serial, kPose), 0), Verdict::Keep);
    // Announcing a known object again replaces it.
    EXPECT_EQ(hub.receive(1, net::encodeNew(0x82, 4, kPose), 0), Verdict::Keep);
    EXPECT_EQ(hub.receive(1, net::encodeNew(0x82, 5, kPose), 0), Verdict::Cut);
    EXPECT_EQ(hub.liveObjectCount(1), 5u);
    // So are messages of the wrong shape and ones from numbers nobody holds.
    EXPECT_EQ(hub.receive(2, net::encodeGoodbye(), 0), Verdict::Cut);
    WireMessage bad = net::encodeUpdate(1, kPose);
    bad.length = 11;
    EXPECT_EQ(hub.receive(1, bad, 0), Verdict::Cut);
}

}  // namespace
