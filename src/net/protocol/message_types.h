#pragma once

#include <cstddef>
#include <cstdint>

#include "net/protocol/game_codes.h"

// The message table of the game's wire protocol, shared by the client, the relay server
// and the test tools. There is no handshake, no version, no length field and no
// checksum: the first byte of every message is its type, and the type alone fixes the
// message's length. Lengths below include the type byte.

namespace net {

inline constexpr std::uint8_t MSG_UPDATE = 0x00;         // pose of an object, ~50 per second
inline constexpr std::uint8_t MSG_SERVER_FULL = 0x40;    // server to client only, no body
inline constexpr std::uint8_t MSG_REMOVE = 0x41;         // 'A'
inline constexpr std::uint8_t MSG_NAME = 0x42;           // 'B'
inline constexpr std::uint8_t MSG_KILL = 0x43;           // 'C'
inline constexpr std::uint8_t MSG_HIT = 0x44;            // 'D'
inline constexpr std::uint8_t MSG_CLIENT_NUMBER = 0x45;  // 'E', server to client only
inline constexpr std::uint8_t MSG_LEVEL = 0x46;          // 'F', server to client only
inline constexpr std::uint8_t MSG_ITEM_TAKEN = 0x47;     // 'G'
inline constexpr std::uint8_t MSG_INFO_REQUEST = 0x48;   // 'H'
inline constexpr std::uint8_t MSG_FRAGS = 0x49;          // 'I'
inline constexpr std::uint8_t MSG_RESPAWN = 0x4A;        // 'J'
inline constexpr std::uint8_t MSG_WEAPON = 0x4B;         // 'K'
inline constexpr std::uint8_t MSG_GOODBYE = 0xFF;        // client to server only, never relayed
// MSG_NEW has no type byte of its own: its type byte is the announced object's type code.

// Object type codes that travel as the type byte of MSG_NEW (see game_codes.h).
using ::TYPE_BULLET_MG;
using ::TYPE_BULLET_RAIL;
using ::TYPE_VOKA_GREEN;
using ::TYPE_VOKA_RED;

// A client writes serials (2 bytes); the server widens them to ids (3 bytes) when it
// relays, so every relayed message is one byte longer than the client wrote it.
inline constexpr std::size_t kClientPoseMessageLength = 27;   // type, serial, pose
inline constexpr std::size_t kClientEventMessageLength = 11;  // type, serial, 8 bytes
inline constexpr std::size_t kServerPoseMessageLength = 28;   // type, id, pose
inline constexpr std::size_t kServerEventMessageLength = 12;  // type, id, 8 bytes
inline constexpr std::size_t kMaxMessageLength = 28;

constexpr bool isNewObjectType(std::uint8_t type) {
    return type >= 0x80;
}

// Length of a message that the server sends, from its type byte. Every byte value has
// a length, so a client never loses step: 0x4C to 0x7F are read (12 bytes) and dropped.
constexpr std::size_t serverMessageLength(std::uint8_t type) {
    if (type == MSG_SERVER_FULL) return 1;
    if (type > MSG_SERVER_FULL && type < 0x80) return kServerEventMessageLength;
    return kServerPoseMessageLength;
}

// Length of a message that a client sends, from its type byte; 0 for a byte that no
// client sends (the server cuts such a client: its stream cannot be followed further).
constexpr std::size_t clientMessageLength(std::uint8_t type) {
    switch (type) {
        case MSG_UPDATE:
        case TYPE_VOKA_RED:
        case TYPE_VOKA_GREEN:
        case TYPE_BULLET_MG:
        case TYPE_BULLET_RAIL:
            return kClientPoseMessageLength;
        case MSG_REMOVE:
        case MSG_NAME:
        case MSG_KILL:
        case MSG_HIT:
        case MSG_ITEM_TAKEN:
        case MSG_INFO_REQUEST:
        case MSG_FRAGS:
        case MSG_RESPAWN:
        case MSG_WEAPON:
            return kClientEventMessageLength;
        case MSG_GOODBYE:
            return 1;
        default:
            return 0;
    }
}

}  // namespace net
