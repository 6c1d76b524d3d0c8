// The messages on the wire, byte for byte, and the serials that name a client's
// objects. (Streams cut at random are the relay server's test and the fuzz target's.)
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "net/serial_table.h"
#include "test_object.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Pose (1, -2, 0.5, 90, 0, 180): six little-endian floats.
const net::Pose kPose = {1.0f, -2.0f, 0.5f, 90.0f, 0.0f, 180.0f};
const Bytes kPoseBytes = {0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x3F,
                          0x00, 0x00, 0xB4, 0x42, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x34, 0x43};

Bytes withPose(Bytes head) {
    head.insert(head.end(), kPoseBytes.begin(), kPoseBytes.end());
    return head;
}

// Every message a client sends, byte for byte, at the length its type promises. Client
// 3, serial 0x01A5: the client writes only the serial; an unnumbered object's is FFFF.
TEST(ClientMessages, EveryOneMatchesTheTableByteForByteAndNoOtherIsTaken) {
    constexpr std::int32_t own = (3 << 16) | 0x01A5;
    const std::pair<net::WireMessage, Bytes> cases[] = {
        {net::encodeUpdate(own, kPose), withPose({0x00, 0x01, 0xA5})},
        {net::encodeNew(net::TYPE_BULLET_RAIL, own, kPose), withPose({0x83, 0x01, 0xA5})},
        {net::encodeRemove(own, net::TYPE_BULLET_MG),
         {0x41, 0x01, 0xA5, 0x82, 0x2E, 0x2E, 0x49, 0x2E, 0x2E, 0x2E, 0x2E}},
        {net::encodeName(own, "Ann"), {0x42, 0x01, 0xA5, 'A', 'n', 'n', 0, 0, 0, 0, 0}},
        {net::encodeName(own, "Terminat"),
         {0x42, 0x01, 0xA5, 'T', 'e', 'r', 'm', 'i', 'n', 'a', 't'}},
        {net::encodeName(own, "Alexandra the Great"),
         {0x42, 0x01, 0xA5, 'A', 'l', 'e', 'x', 'a', 'n', 'd', 'r'}},
        {net::encodeEvent(net::MSG_KILL, {own, 0x80}, {(5 << 16) | 0x0102, 0x83},
                          {(5 << 16) | 0x0001, 0x81}),
         {0x43, 0x01, 0xA5, 0x05, 0x01, 0x02, 0x80, 0x83, 0x05, 0x00, 0x01}},
        {net::encodeEvent(net::MSG_HIT, {-1, 0x82}, {-1, 0x81}, {-1, 0x80}),
         {0x44, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x82, 0x81, 0xFF, 0xFF, 0xFF}},
        {net::encodeEvent(net::MSG_ITEM_TAKEN, {own, 0x81}, {0x000107, 0x85}, {own, 0x81}),
         {0x47, 0x01, 0xA5, 0x00, 0x01, 0x07, 0x81, 0x85, 0x03, 0x01, 0xA5}},
        {net::encodeInfoRequest(own),
         {0x48, 0x01, 0xA5, 0x73, 0x61, 0x75, 0x73, 0x63, 0x68, 0xE4, 0x64}},
        {net::encodeFrags(own, 12), {0x49, 0x01, 0xA5, 0x0C, 0x00, 0, 0, 0, 0, 0, 0}},
        {net::encodeRespawn(own),
         {0x4A, 0x01, 0xA5, 0x66, 0x75, 0x64, 0x00, 0x25, 0x73, 0x00, 0x00}},
        {net::encodeWeapon(own, 7), {0x4B, 0x01, 0xA5, 0x07, 0x00, 0x00, 0x00, 0, 0, 0, 0}},
        {net::encodeGoodbye(), {0xFF}}};
    for (const auto& [message, expected] : cases) {
        EXPECT_EQ(bytesOf(message), expected);
        EXPECT_EQ(message.length, net::clientMessageLength(message.type())) << int{message.type()};
    }
    // Data reads no further than the given length.
    const std::uint8_t twelve[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(bytesOf(net::encodeData(net::MSG_NAME, 0, twelve, 3)),
              (Bytes{0x42, 0, 0, 1, 2, 3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(bytesOf(net::encodeData(net::MSG_NAME, 0, twelve, 12)),
              (Bytes{0x42, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}));
    // Types no client sends and wrong lengths are refused.
    for (const std::uint8_t type : {0x01, 0x3F, 0x40, 0x45, 0x46, 0x4C, 0x7F, 0x84, 0xFE})
        EXPECT_EQ(net::clientMessageLength(type), 0u) << int(type);
    net::WireMessage shortUpdate = net::encodeUpdate(1, kPose);
    shortUpdate.length = 11;
    EXPECT_FALSE(net::decodeClientMessage(shortUpdate));
}

std::optional<net::ServerMessage> decode(const Bytes& bytes) {
    return net::decodeServerMessage(bytes.data(), bytes.size());
}

TEST(ServerEncoding, OwnMessagesAndTheRelayRuleByteForByte) {
    const std::pair<net::WireMessage, Bytes> cases[] = {
        {net::relay(9, net::encodeUpdate(0x0000ABCD, kPose)), withPose({0x00, 9, 0xAB, 0xCD})},
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
std::string describe(const net::ServerMessage& m) {
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
TEST(ServerDecoding, EveryFieldAtTheLengthTheTypeByteGives) {
    const std::pair<Bytes, std::string> cases[] = {
        {relayed(0x45, net::encodeUpdate(0x80FF, kPose)),
         "Update type 0 id 4580ff pose 1 -2 0.5 90 0 180"},
        {relayed(2, net::encodeNew(0x81, 0x00C8, kPose)),
         "NewObject type 81 id 200c8 code 81 pose 1 -2 0.5 90 0 180"},
        {relayed(0, net::encodeNew(0xFF, 0, {})), "NewObject type ff code ff"},
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
        EXPECT_EQ(decoded ? describe(*decoded) : "refused", expected);
    }
    // The length must match the type byte.
    for (std::uint8_t type = 0x4C; type <= 0x7F; ++type)
        EXPECT_TRUE(decode(Bytes(12, type)) && !decode(Bytes(28, type))) << int{type};
    for (const Bytes& bad : {Bytes{}, Bytes{0x40, 0x00}, Bytes(27, 0x00), Bytes(11, 0x41)})
        EXPECT_FALSE(decode(bad)) << bad.size();
    EXPECT_FALSE(net::decodeServerMessage(nullptr, 28));
}

TEST(SerialTable, HandsOutTheLowestFreeSerialUpToThirtyThousand) {
    auto table = std::make_unique<net::SerialTable>();
    for (std::int32_t i = 0; i < net::SerialTable::kSerialCount; ++i) ASSERT_EQ(table->alloc(), i);
    EXPECT_EQ(table->alloc(), -1);
    for (const std::int32_t outside : {0xFFFF, 30000, -1}) table->free(outside);  // ignored
    EXPECT_EQ(table->alloc(), -1);
    table->free(29999);
    EXPECT_EQ(table->alloc(), 29999);
    table->free(12345);
    table->free(200);
    EXPECT_EQ(table->alloc(), 200);  // the lowest free one first
    EXPECT_EQ(table->alloc(), 12345);
}

}  // namespace
