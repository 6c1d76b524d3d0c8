#include "net/protocol/server_messages.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "net/protocol/client_messages.h"
#include "test_object.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = net::ServerMessage::Kind;
using net::ServerMessage;

std::optional<ServerMessage> decode(const Bytes& bytes) {
    return net::decodeServerMessage(bytes.data(), bytes.size());
}

const net::Pose kPose = {800.5f, 12.25f, -3.0f, 0.0f, 45.0f, 359.0f};

TEST(ServerEncoding, OwnMessagesAndTheRelayRuleByteForByte) {
    const net::WireMessage update = net::encodeUpdate(0x0000ABCD, kPose);
    Bytes relayedUpdate = {0x00, 9, 0xAB, 0xCD};
    relayedUpdate.insert(relayedUpdate.end(), update.bytes.begin() + 3, update.bytes.begin() + 27);
    const std::pair<net::WireMessage, Bytes> cases[] = {
        {net::relay(9, update), relayedUpdate},
        {net::relay(7, net::encodeRemove(0x0102, 0x80)),
         {0x41, 7, 0x01, 0x02, 0x80, 0x2E, 0x2E, 0x49, 0x2E, 0x2E, 0x2E, 0x2E}},
        {net::encodeClientNumber(-2), {0x45, 0xFE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {net::encodeLevel(3), {0x46, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0}},
        {net::encodeItemState(0x020003, 0x000105, 0), {0x47, 2, 0, 3, 0, 1, 5, 0, 0, 0, 0, 0}},
        {net::encodeServerFull(), {0x40}},
    };
    for (const auto& [message, expected] : cases) EXPECT_EQ(bytesOf(message), expected);
}

// The decoded fields that differ from their defaults, in one line; ids and bytes in hex.
std::string describe(const ServerMessage& m) {
    static const char* const kinds[] = {"Update", "NewObject",    "ServerFull", "Remove",
                                        "Combat", "ClientNumber", "Data",       "Ignored"};
    std::ostringstream out;
    out << kinds[static_cast<int>(m.kind)] << std::hex << " type " << int{m.type};
    const std::pair<const char*, std::int32_t> fields[] = {{"id", m.id},       {"id2", m.id2},
                                                           {"id3", m.id3},     {"code", m.typeCode},
                                                           {"type1", m.type1}, {"type2", m.type2}};
    for (const auto& [name, value] : fields)
        if (value != 0) out << " " << name << " " << value;
    if (m.clientNumber != -1) out << std::dec << " number " << m.clientNumber;
    if (m.pose != net::Pose{}) {
        out << std::dec << " pose";
        for (float value : m.pose) out << " " << value;
    }
    if (m.payloadLength > 0) out << std::hex << " payload";
    for (std::size_t i = 0; i < m.payloadLength; ++i) out << " " << int{m.payload[i]};
    return out.str();
}

Bytes relayed(std::uint8_t from, const net::WireMessage& message) {
    return bytesOf(net::relay(from, message));
}

// Serials of 128 and up have a low byte with the top bit set: read as a signed char it
// would come back negative and corrupt the identifier.
TEST(ServerDecoding, EveryServerMessageField) {
    const std::pair<Bytes, std::string> cases[] = {
        {relayed(0x45, net::encodeUpdate(0x80FF, kPose)),
         "Update type 0 id 4580ff pose 800.5 12.25 -3 0 45 359"},
        {relayed(2, net::encodeNew(0x81, 0x00C8, kPose)),
         "NewObject type 81 id 200c8 code 81 pose 800.5 12.25 -3 0 45 359"},
        {{0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         "NewObject type ff code ff"},
        {{0x40}, "ServerFull type 40"},
        {relayed(4, net::encodeRemove(0x0190, 0x82)), "Remove type 41 id 40190 code 82"},
        {relayed(6, net::encodeEvent(net::MSG_KILL, {0x0081, 0x82}, {0x0301FF, 0x80},
                                     {0x020005, 0x81})),
         "Combat type 43 id 60081 id2 301ff id3 20005 type1 82 type2 80"},
        {relayed(6, net::encodeEvent(net::MSG_HIT, {-1, 0x80}, {0x000001, 0x81}, {0x7F0000, 0x83})),
         "Combat type 44 id 6ffff id2 1 id3 7f0000 type1 80 type2 81"},
        {bytesOf(net::encodeClientNumber(100)), "ClientNumber type 45 number 100"},
        {bytesOf(net::encodeLevel(3)), "Data type 46 payload 3 0 0 0 0 0 0 0"},
        {relayed(1, net::encodeName(0x0007, "Zed")),
         "Data type 42 id 10007 payload 5a 65 64 0 0 0 0 0"},
        // Client 2's red Voka (0x80) took item 0x000105: the id is the item's.
        {relayed(2, net::encodeEvent(net::MSG_ITEM_TAKEN, {0x0001, 0x80}, {0x000105, 0x85},
                                     {0x0001, 0x80})),
         "Data type 47 id 105 payload 80 85 0 0 1"},
        {bytesOf(net::encodeItemState(0x020001, 0x000105, 0)),
         "Data type 47 id 105 payload 0 0 0 0 0"},
        {Bytes(12, 0x7F), "Ignored type 7f"},
    };
    for (const auto& [bytes, expected] : cases) {
        const auto decoded = decode(bytes);
        ASSERT_TRUE(decoded) << expected;
        EXPECT_EQ(describe(*decoded), expected);
    }
}

TEST(ServerDecodingLength, MustMatchTheTypeByte) {
    for (int type = 0x4C; type <= 0x7F; ++type) {
        Bytes twelve(12, 0xEE);
        twelve[0] = static_cast<std::uint8_t>(type);
        ASSERT_TRUE(decode(twelve)) << type;
        EXPECT_FALSE(decode(Bytes(28, static_cast<std::uint8_t>(type))));
    }
    EXPECT_FALSE(decode({}));
    EXPECT_FALSE(decode({0x40, 0x00}));
    EXPECT_FALSE(decode(Bytes(27, 0x00)));
    EXPECT_FALSE(decode(Bytes(11, 0x41)));
    EXPECT_FALSE(net::decodeServerMessage(nullptr, 28));
}

}  // namespace
