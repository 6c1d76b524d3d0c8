#include "net/protocol/server_messages.h"

#include <algorithm>

namespace net {
namespace {

WireMessage serverEvent(std::uint8_t type) {
    WireMessage message;
    message.length = kServerEventMessageLength;
    message.bytes[0] = type;
    return message;
}

}  // namespace

WireMessage relay(std::uint8_t clientNumber, const WireMessage& fromClient) {
    WireMessage relayed;
    relayed.length = fromClient.length + 1;
    relayed.bytes[0] = fromClient.bytes[0];
    relayed.bytes[1] = clientNumber;
    std::copy(fromClient.bytes.begin() + 1, fromClient.bytes.begin() + fromClient.length,
              relayed.bytes.begin() + 2);
    return relayed;
}

WireMessage encodeClientNumber(std::int32_t clientNumber) {
    WireMessage message = serverEvent(MSG_CLIENT_NUMBER);
    message.bytes[1] = static_cast<std::uint8_t>(clientNumber);
    return message;
}

WireMessage encodeLevel(std::int32_t level) {
    WireMessage message = serverEvent(MSG_LEVEL);
    message.bytes[4] = static_cast<std::uint8_t>(level);
    return message;
}

WireMessage encodeItemState(std::int32_t senderId, std::int32_t itemId, std::uint8_t state) {
    WireMessage message = serverEvent(MSG_ITEM_TAKEN);
    writeId(&message.bytes[1], senderId);
    writeId(&message.bytes[4], itemId);
    message.bytes[7] = state;
    return message;
}

WireMessage encodeServerFull() {
    WireMessage message;
    message.length = 1;
    message.bytes[0] = MSG_SERVER_FULL;
    return message;
}

std::optional<ServerMessage> decodeServerMessage(const std::uint8_t* bytes, std::size_t length) {
    if (bytes == nullptr || length == 0 || length != serverMessageLength(bytes[0])) {
        return std::nullopt;
    }
    ServerMessage message;
    message.type = bytes[0];
    const std::uint8_t* body = bytes + 1;
    if (message.type == MSG_SERVER_FULL) {
        message.kind = ServerMessage::Kind::ServerFull;
        return message;
    }
    if (message.type < MSG_SERVER_FULL || isNewObjectType(message.type)) {
        message.kind = isNewObjectType(message.type) ? ServerMessage::Kind::NewObject
                                                     : ServerMessage::Kind::Update;
        message.id = readId(body);
        message.typeCode = message.type;
        message.pose = readPose(body + 3);
        return message;
    }
    message.id = readId(body);
    switch (message.type) {
        case MSG_REMOVE:
            message.kind = ServerMessage::Kind::Remove;
            message.typeCode = body[3];
            break;
        case MSG_KILL:
        case MSG_HIT:
            message.kind = ServerMessage::Kind::Combat;
            message.id2 = readId(body + 3);
            message.type1 = body[6];
            message.type2 = body[7];
            message.id3 = readId(body + 8);
            break;
        case MSG_CLIENT_NUMBER:
            message.kind = ServerMessage::Kind::ClientNumber;
            message.id = 0;
            message.clientNumber = static_cast<std::int8_t>(body[0]);
            break;
        case MSG_ITEM_TAKEN:
            message.kind = ServerMessage::Kind::Data;
            message.id = readId(body + 3);
            message.payload = body + 6;
            message.payloadLength = 5;
            break;
        case MSG_NAME:
        case MSG_LEVEL:
        case MSG_INFO_REQUEST:
        case MSG_FRAGS:
        case MSG_RESPAWN:
        case MSG_WEAPON:
            message.kind = ServerMessage::Kind::Data;
            message.payload = body + 3;
            message.payloadLength = kServerEventMessageLength - 4;
            break;
        default:
            message.kind = ServerMessage::Kind::Ignored;
            message.id = 0;
            break;
    }
    return message;
}

}  // namespace net
