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

Bytes concat(Bytes head, const Bytes& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// Client 3, serial 0x01A5: the client writes only the serial.
constexpr std::int32_t kOwnId = (3 << 16) | 0x01A5;

struct EncodeCase {
    const char* name;
    net::WireMessage message;
    Bytes expected;
};

class ClientEncoding : public testing::TestWithParam<EncodeCase> {};

TEST_P(ClientEncoding, MatchesTheTableByteForByte) {
    EXPECT_EQ(bytesOf(GetParam().message), GetParam().expected);
    EXPECT_EQ(GetParam().message.length, net::clientMessageLength(GetParam().message.type()));
}

INSTANTIATE_TEST_SUITE_P(
    EveryClientMessage, ClientEncoding,
    testing::Values(
        EncodeCase{"Update", net::encodeUpdate(kOwnId, kPose),
                   concat({0x00, 0x01, 0xA5}, kPoseBytes)},
        EncodeCase{"UnnumberedObjectHasSerialFFFF", net::encodeUpdate(-1, kPose),
                   concat({0x00, 0xFF, 0xFF}, kPoseBytes)},
        EncodeCase{"NewRailBullet", net::encodeNew(net::TYPE_BULLET_RAIL, kOwnId, kPose),
                   concat({0x83, 0x01, 0xA5}, kPoseBytes)},
        EncodeCase{"Remove",
                   net::encodeRemove(kOwnId, net::TYPE_BULLET_MG),
                   {0x41, 0x01, 0xA5, 0x82, 0x2E, 0x2E, 0x49, 0x2E, 0x2E, 0x2E, 0x2E}},
        EncodeCase{"ShortNameEndsInNul",
                   net::encodeName(kOwnId, "Ann"),
                   {0x42, 0x01, 0xA5, 'A', 'n', 'n', 0, 0, 0, 0, 0}},
        EncodeCase{"EightCharacterNameHasNoTerminator",
                   net::encodeName(kOwnId, "Terminat"),
                   {0x42, 0x01, 0xA5, 'T', 'e', 'r', 'm', 'i', 'n', 'a', 't'}},
        EncodeCase{"LongNameIsCut",
                   net::encodeName(kOwnId, "Alexandra the Great"),
                   {0x42, 0x01, 0xA5, 'A', 'l', 'e', 'x', 'a', 'n', 'd', 'r'}},
        EncodeCase{"Kill",
                   net::encodeEvent(net::MSG_KILL, {kOwnId, 0x80}, {(5 << 16) | 0x0102, 0x83},
                                    {(5 << 16) | 0x0001, 0x81}),
                   {0x43, 0x01, 0xA5, 0x05, 0x01, 0x02, 0x80, 0x83, 0x05, 0x00, 0x01}},
        EncodeCase{"HitWithUnnumberedObjects",
                   net::encodeEvent(net::MSG_HIT, {-1, 0x82}, {-1, 0x81}, {-1, 0x80}),
                   {0x44, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x82, 0x81, 0xFF, 0xFF, 0xFF}},
        EncodeCase{
            "ItemTaken",
            net::encodeEvent(net::MSG_ITEM_TAKEN, {kOwnId, 0x81}, {0x000107, 0x85}, {kOwnId, 0x81}),
            {0x47, 0x01, 0xA5, 0x00, 0x01, 0x07, 0x81, 0x85, 0x03, 0x01, 0xA5}},
        EncodeCase{"InfoRequest",
                   net::encodeInfoRequest(kOwnId),
                   {0x48, 0x01, 0xA5, 0x73, 0x61, 0x75, 0x73, 0x63, 0x68, 0xE4, 0x64}},
        EncodeCase{"Frags",
                   net::encodeFrags(kOwnId, 12),
                   {0x49, 0x01, 0xA5, 0x0C, 0x00, 0, 0, 0, 0, 0, 0}},
        EncodeCase{"Respawn",
                   net::encodeRespawn(kOwnId),
                   {0x4A, 0x01, 0xA5, 0x66, 0x75, 0x64, 0x00, 0x25, 0x73, 0x00, 0x00}},
        EncodeCase{"Weapon",
                   net::encodeWeapon(kOwnId, 7),
                   {0x4B, 0x01, 0xA5, 0x07, 0x00, 0x00, 0x00, 0, 0, 0, 0}},
        EncodeCase{"Goodbye", net::encodeGoodbye(), {0xFF}}),
    [](const testing::TestParamInfo<EncodeCase>& c) { return std::string(c.param.name); });

TEST(ClientEncoding, DataReadsNoFurtherThanTheGivenLength) {
    const std::uint8_t three[3] = {1, 2, 3};
    EXPECT_EQ(bytesOf(net::encodeData(net::MSG_NAME, 0, three, sizeof three)),
              (Bytes{0x42, 0, 0, 1, 2, 3, 0, 0, 0, 0, 0}));
    const std::uint8_t twelve[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(bytesOf(net::encodeData(net::MSG_NAME, 0, twelve, sizeof twelve)),
              (Bytes{0x42, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(ClientDecoding, RefusesTypesNoClientSendsAndWrongLengths) {
    for (const std::uint8_t type : {0x01, 0x3F, 0x40, 0x45, 0x46, 0x4C, 0x7F, 0x84, 0xFE}) {
        EXPECT_EQ(net::clientMessageLength(type), 0u) << int(type);
    }
    net::WireMessage shortUpdate = net::encodeUpdate(1, kPose);
    shortUpdate.length = 11;
    EXPECT_FALSE(net::decodeClientMessage(shortUpdate));
}

}  // namespace
