#include "net/protocol/client_messages.h"

#include <gtest/gtest.h>

#include <vector>

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
TEST(ClientEncoding, EveryClientMessageMatchesTheTableByteForByte) {
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
}

TEST(ClientDecoding, RefusesTypesNoClientSendsAndWrongLengths) {
    for (const std::uint8_t type : {0x01, 0x3F, 0x40, 0x45, 0x46, 0x4C, 0x7F, 0x84, 0xFE})
        EXPECT_EQ(net::clientMessageLength(type), 0u) << int(type);
    net::WireMessage shortUpdate = net::encodeUpdate(1, kPose);
    shortUpdate.length = 11;
    EXPECT_FALSE(net::decodeClientMessage(shortUpdate));
}

}  // namespace
