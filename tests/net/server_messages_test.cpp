#include "net/protocol/server_messages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "net/protocol/client_messages.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = net::ServerMessage::Kind;

Bytes bytesOf(const net::WireMessage& message) {
    return Bytes(message.bytes.begin(), message.bytes.begin() + message.length);
}

std::optional<net::ServerMessage> decode(const Bytes& bytes) {
    return net::decodeServerMessage(bytes.data(), bytes.size());
}

const net::Pose kPose = {800.5f, 12.25f, -3.0f, 0.0f, 45.0f, 359.0f};

TEST(RelayRule, InsertsTheSendersNumberAsFirstIdByte) {
    const net::WireMessage update = net::encodeUpdate(0x0000ABCD, kPose);
    const Bytes relayed = bytesOf(net::relay(9, update));
    ASSERT_EQ(relayed.size(), 28u);
    EXPECT_EQ(relayed[0], 0x00);
    EXPECT_EQ(relayed[1], 9);
    EXPECT_EQ(relayed[2], 0xAB);
    EXPECT_EQ(relayed[3], 0xCD);
    EXPECT_EQ(Bytes(relayed.begin() + 4, relayed.end()),
              Bytes(update.bytes.begin() + 3, update.bytes.begin() + 27));

    const net::WireMessage remove = net::encodeRemove(0x0102, 0x80);
    EXPECT_EQ(bytesOf(net::relay(7, remove)),
              (Bytes{0x41, 7, 0x01, 0x02, 0x80, 0x2E, 0x2E, 0x49, 0x2E, 0x2E, 0x2E, 0x2E}));
}

// Serials of 128 and up have a low byte with the top bit set: read as a signed char it
// would come back negative and corrupt the identifier.
class IdentifierRoundTrip : public testing::TestWithParam<std::int32_t> {};

TEST_P(IdentifierRoundTrip, SurvivesClientEncodingRelayAndDecoding) {
    const std::int32_t serial = GetParam();
    const std::uint8_t clientNumber = 0x45;
    const net::WireMessage relayed = net::relay(clientNumber, net::encodeUpdate(serial, kPose));
    const auto decoded = decode(bytesOf(relayed));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->kind, Kind::Update);
    EXPECT_EQ(decoded->id, (clientNumber << 16) | serial);
    EXPECT_EQ(decoded->pose, kPose);
}

INSTANTIATE_TEST_SUITE_P(Serials, IdentifierRoundTrip,
                         testing::Values(0, 1, 127, 128, 255, 0x80FF, 0x7FFF, 29999, 0xFFFF));

TEST(ServerDecoding, NewObjectCarriesTypeCodeIdAndPose) {
    const auto message = decode(bytesOf(net::relay(2, net::encodeNew(0x81, 0x00C8, kPose))));
    ASSERT_TRUE(message);
    EXPECT_EQ(message->kind, Kind::NewObject);
    EXPECT_EQ(message->typeCode, 0x81);
    EXPECT_EQ(message->id, 0x0200C8);
    EXPECT_EQ(message->pose, kPose);
}

TEST(ServerDecoding, EveryTypeAtAndAboveEightyIsANewObject) {
    Bytes bytes(28, 0);
    bytes[0] = 0xFF;
    const auto message = decode(bytes);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->kind, Kind::NewObject);
    EXPECT_EQ(message->typeCode, 0xFF);
}

TEST(ServerDecoding, ServerFullIsOneByte) {
    const auto message = decode({0x40});
    ASSERT_TRUE(message);
    EXPECT_EQ(message->kind, Kind::ServerFull);
    EXPECT_FALSE(decode({0x40, 0x00}));
}

TEST(ServerDecoding, RemoveCarriesIdAndTypeCode) {
    const auto message = decode(bytesOf(net::relay(4, net::encodeRemove(0x0190, 0x82))));
    ASSERT_TRUE(message);
    EXPECT_EQ(message->kind, Kind::Remove);
    EXPECT_EQ(message->id, 0x040190);
    EXPECT_EQ(message->typeCode, 0x82);
}

TEST(ServerDecoding, CombatEventsCarryThreeIdsAndTwoTypeCodes) {
    for (const std::uint8_t type : {net::MSG_KILL, net::MSG_HIT}) {
        const net::WireMessage sent =
            net::encodeEvent(type, {0x0081, 0x82}, {0x0301FF, 0x80}, {0x020005, 0x81});
        const auto message = decode(bytesOf(net::relay(6, sent)));
        ASSERT_TRUE(message);
        EXPECT_EQ(message->kind, Kind::Combat);
        EXPECT_EQ(message->type, type);
        EXPECT_EQ(message->id, 0x060081);
        EXPECT_EQ(message->id2, 0x0301FF);
        EXPECT_EQ(message->id3, 0x020005);
        EXPECT_EQ(message->type1, 0x82);
        EXPECT_EQ(message->type2, 0x80);
    }
}

TEST(ServerDecoding, ClientNumberIsASignedByte) {
    auto message = decode(bytesOf(net::encodeClientNumber(5)));
    ASSERT_TRUE(message);
    EXPECT_EQ(message->kind, Kind::ClientNumber);
    EXPECT_EQ(message->clientNumber, 5);
    message = decode(bytesOf(net::encodeClientNumber(-1)));
    ASSERT_TRUE(message);
    EXPECT_EQ(message->clientNumber, -1);
}

TEST(ServerDecoding, DataEventsPassEightBytesAfterTheId) {
    const Bytes level = bytesOf(net::encodeLevel(3));
    EXPECT_EQ(level, (Bytes{0x46, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0}));
    const struct {
        net::WireMessage sent;
        std::uint8_t firstPayloadByte;
    } cases[] = {
        {net::relay(1, net::encodeName(0x0007, "Zed")), 'Z'},
        {net::relay(1, net::encodeInfoRequest(0x0007)), 0x73},
        {net::relay(1, net::encodeFrags(0x0007, -3)), 0xFD},
        {net::relay(1, net::encodeRespawn(0x0007)), 0x66},
        {net::relay(1, net::encodeWeapon(0x0007, 2)), 2},
    };
    for (const auto& c : cases) {
        const Bytes bytes = bytesOf(c.sent);
        const auto message = decode(bytes);
        ASSERT_TRUE(message);
        EXPECT_EQ(message->kind, Kind::Data);
        EXPECT_EQ(message->type, bytes[0]);
        EXPECT_EQ(message->id, 0x010007);
        EXPECT_EQ(message->payloadLength, 8u);
        EXPECT_EQ(message->payload[0], c.firstPayloadByte);
    }
    const auto levelMessage = decode(level);
    ASSERT_TRUE(levelMessage);
    EXPECT_EQ(levelMessage->payload[0], 3);
}

TEST(ServerDecoding, ItemTakenNamesTheItemAndPassesTheStateByte) {
    // Relayed from client 2, whose red Voka (0x80) took item 0x000105.
    const net::WireMessage relayed = net::relay(
        2, net::encodeEvent(net::MSG_ITEM_TAKEN, {0x0001, 0x80}, {0x000105, 0x85}, {0x0001, 0x80}));
    const Bytes relayedBytes = bytesOf(relayed);
    auto message = decode(relayedBytes);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->kind, Kind::Data);
    EXPECT_EQ(message->id, 0x000105);
    EXPECT_EQ(message->payloadLength, 5u);
    EXPECT_EQ(message->payload[0], 0x80);

    const Bytes restoreBytes = bytesOf(net::encodeItemState(0x020001, 0x000105, 0));
    message = decode(restoreBytes);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->id, 0x000105);
    EXPECT_EQ(message->payload[0], 0);
}

TEST(ServerDecoding, TypesFrom4CTo7FAreTwelveBytesAndIgnored) {
    for (int type = 0x4C; type <= 0x7F; ++type) {
        Bytes bytes(12, 0xEE);
        bytes[0] = static_cast<std::uint8_t>(type);
        const auto message = decode(bytes);
        ASSERT_TRUE(message) << type;
        EXPECT_EQ(message->kind, Kind::Ignored);
        EXPECT_FALSE(decode(Bytes(28, static_cast<std::uint8_t>(type))));
    }
}

TEST(ServerDecoding, LengthMustMatchTheTypeByte) {
    EXPECT_FALSE(decode({}));
    EXPECT_FALSE(decode(Bytes(27, 0x00)));
    EXPECT_FALSE(decode(Bytes(11, 0x41)));
    EXPECT_FALSE(net::decodeServerMessage(nullptr, 28));
}

TEST(PoseChecks, NonFiniteFloatsAreRecognised) {
    net::Pose pose = kPose;
    EXPECT_TRUE(net::isFinitePose(pose));
    pose[4] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(net::isFinitePose(pose));
    pose[4] = 0;
    pose[0] = -std::numeric_limits<float>::infinity();
    EXPECT_FALSE(net::isFinitePose(pose));
}

}  // namespace
