#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "net/protocol/wire_fields.h"
#include "net/protocol/wire_message.h"

// Messages from the server to a client. The server relays every client message except
// MSG_GOODBYE to the other clients with the sender's client number inserted as the
// first id byte: 27 bytes become 28, 11 become 12. Its own messages:
//
//   MSG_CLIENT_NUMBER 12  0: 'E'; 1: client number (signed 8-bit)
//   MSG_LEVEL         12  0: 'F'; 1-3: id (zero); 4: level number (signed 8-bit)
//   MSG_ITEM_TAKEN    12  0: 'G'; 1-3: id of the sender; 4-6: item id; 7: taken state
//   MSG_SERVER_FULL    1  0: 0x40
//
// A client reads any type byte: 0x00-0x3F updates (28), 0x40 server full (1), 0x41-0x7F
// 12 bytes (0x4C and up dropped), 0x80-0xFF MSG_NEW with the object's type code (28).

namespace net {

// The relay rule. `fromClient` must be a whole client message other than MSG_GOODBYE.
WireMessage relay(std::uint8_t clientNumber, const WireMessage& fromClient);

WireMessage encodeClientNumber(std::int32_t clientNumber);
WireMessage encodeLevel(std::int32_t level);
WireMessage encodeItemState(std::int32_t senderId, std::int32_t itemId, std::uint8_t state);
WireMessage encodeServerFull();

// A server message as the client's dispatch reads it.
struct ServerMessage {
    enum class Kind {
        Update,     // id, pose
        NewObject,  // id, typeCode (the type byte), pose
        ServerFull,
        Remove,        // id, typeCode
        Combat,        // type, id (id1), id2, id3, type1, type2
        ClientNumber,  // clientNumber
        Data,          // type, id, payload, payloadLength
        Ignored,       // 0x4C-0x7F
    };
    Kind kind = Kind::Ignored;
    std::uint8_t type = 0;
    std::int32_t id = 0;
    std::int32_t id2 = 0;
    std::int32_t id3 = 0;
    std::uint8_t typeCode = 0;
    std::uint8_t type1 = 0;
    std::uint8_t type2 = 0;
    std::int32_t clientNumber = -1;
    Pose pose{};
    // Data: points into the decoded bytes. MSG_ITEM_TAKEN: the state byte and the four
    // after it, with `id` the item's; the other data messages: body bytes 3-10.
    const std::uint8_t* payload = nullptr;
    std::size_t payloadLength = 0;
};

// `bytes` holds one whole message, type byte first; empty when `length` does not match
// the type byte. The payload pointer of the result points into `bytes`.
std::optional<ServerMessage> decodeServerMessage(const std::uint8_t* bytes, std::size_t length);

}  // namespace net
