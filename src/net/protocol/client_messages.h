#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "net/protocol/wire_fields.h"
#include "net/protocol/wire_message.h"

// Messages from a client to the server, byte by byte. "serial" is the low 16 bits of
// the named object's identifier, big-endian; "id" a full identifier in 3 bytes.
//
//   MSG_UPDATE        27  0: 0x00; 1-2: serial; 3-26: pose
//   MSG_NEW           27  0: type code (0x80-0x83); 1-2: serial; 3-26: pose
//   MSG_REMOVE        11  0: 'A'; 1-2: serial; 3: type code; 4-10: 2E 2E 49 2E 2E 2E 2E
//   MSG_NAME          11  0: 'B'; 1-2: serial of the own Voka; 3-10: first 8 name bytes
//   MSG_KILL, MSG_HIT, MSG_ITEM_TAKEN: the event layout, 11 bytes
//                         0: type; 1-2: serial of a; 3-5: id of b; 6: type code of a;
//                         7: type code of b; 8-10: id of c
//   MSG_INFO_REQUEST  11  0: 'H'; 1-2: serial; 3-10: 73 61 75 73 63 68 E4 64
//   MSG_FRAGS         11  0: 'I'; 1-2: serial; 3: frags, signed 8-bit; 4: 0
//   MSG_RESPAWN       11  0: 'J'; 1-2: serial; 3-10: 66 75 64 00 25 73 00 00
//   MSG_WEAPON        11  0: 'K'; 1-2: serial; 3-6: weapon number, 32-bit little-endian
//   MSG_GOODBYE        1  0: 0xFF
//
// Bytes the table leaves unspecified go out as zeros.

namespace net {

// An object named in an event: its identifier and type code.
struct ObjectRef {
    std::int32_t id = -1;
    std::uint8_t type = 0;
};

inline constexpr std::uint8_t kRemoveFiller[7] = {0x2E, 0x2E, 0x49, 0x2E, 0x2E, 0x2E, 0x2E};
inline constexpr std::uint8_t kInfoRequestPayload[8] = {0x73, 0x61, 0x75, 0x73,
                                                        0x63, 0x68, 0xE4, 0x64};
inline constexpr std::uint8_t kRespawnPayload[8] = {0x66, 0x75, 0x64, 0x00, 0x25, 0x73, 0x00, 0x00};
inline constexpr std::size_t kDataPayloadBytes = 8;

WireMessage encodeUpdate(std::int32_t id, const Pose& pose);
WireMessage encodeNew(std::uint8_t typeCode, std::int32_t id, const Pose& pose);
WireMessage encodeRemove(std::int32_t id, std::uint8_t typeCode);
WireMessage encodeEvent(std::uint8_t type, ObjectRef a, ObjectRef b, ObjectRef c);
// Bytes 3-10 are the first 8 bytes of the payload; a shorter payload is padded with
// zeros, so the encoder never reads past what the caller gave.
WireMessage encodeData(std::uint8_t type, std::int32_t id, const void* payload, std::size_t length);
// The first 8 bytes of a NUL-terminated name; a longer name has no terminator.
WireMessage encodeName(std::int32_t id, const char* name);
WireMessage encodeInfoRequest(std::int32_t id);
WireMessage encodeFrags(std::int32_t id, std::int32_t frags);
WireMessage encodeRespawn(std::int32_t id);
WireMessage encodeWeapon(std::int32_t id, std::int32_t weapon);
WireMessage encodeGoodbye();

// What the server reads from a client message.
struct ClientMessage {
    std::uint8_t type = 0;
    std::int32_t serial = 0;
    std::uint8_t typeCode = 0;  // MSG_NEW: the type byte; MSG_REMOVE: byte 3
    std::int32_t itemId = 0;    // MSG_ITEM_TAKEN: bytes 3-5
};

// Empty when the length does not match the type byte or the type is not a client's.
std::optional<ClientMessage> decodeClientMessage(const WireMessage& message);

}  // namespace net
