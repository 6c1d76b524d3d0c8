#include "net/protocol/client_messages.h"

#include <algorithm>
#include <cstring>

namespace net {
namespace {

WireMessage withSerial(std::uint8_t type, std::int32_t id, std::size_t length) {
    WireMessage message;
    message.length = length;
    message.bytes[0] = type;
    writeSerial(&message.bytes[1], id);
    return message;
}

WireMessage poseMessage(std::uint8_t type, std::int32_t id, const Pose& pose) {
    WireMessage message = withSerial(type, id, kClientPoseMessageLength);
    writePose(&message.bytes[3], pose);
    return message;
}

}  // namespace

WireMessage encodeUpdate(std::int32_t id, const Pose& pose) {
    return poseMessage(MSG_UPDATE, id, pose);
}

WireMessage encodeNew(std::uint8_t typeCode, std::int32_t id, const Pose& pose) {
    return poseMessage(typeCode, id, pose);
}

WireMessage encodeRemove(std::int32_t id, std::uint8_t typeCode) {
    WireMessage message = withSerial(MSG_REMOVE, id, kClientEventMessageLength);
    message.bytes[3] = typeCode;
    std::copy(std::begin(kRemoveFiller), std::end(kRemoveFiller), &message.bytes[4]);
    return message;
}

WireMessage encodeEvent(std::uint8_t type, ObjectRef a, ObjectRef b, ObjectRef c) {
    WireMessage message = withSerial(type, a.id, kClientEventMessageLength);
    writeId(&message.bytes[3], b.id);
    message.bytes[6] = a.type;
    message.bytes[7] = b.type;
    writeId(&message.bytes[8], c.id);
    return message;
}

WireMessage encodeData(std::uint8_t type, std::int32_t id, const void* payload,
                       std::size_t length) {
    WireMessage message = withSerial(type, id, kClientEventMessageLength);
    if (payload != nullptr) {
        std::memcpy(&message.bytes[3], payload, std::min(length, kDataPayloadBytes));
    }
    return message;
}

WireMessage encodeName(std::int32_t id, const char* name) {
    const std::size_t length = name == nullptr ? 0 : ::strnlen(name, kDataPayloadBytes);
    return encodeData(MSG_NAME, id, name, length);
}

WireMessage encodeInfoRequest(std::int32_t id) {
    return encodeData(MSG_INFO_REQUEST, id, kInfoRequestPayload, sizeof kInfoRequestPayload);
}

WireMessage encodeFrags(std::int32_t id, std::int32_t frags) {
    const std::uint8_t payload[2] = {static_cast<std::uint8_t>(frags), 0};
    return encodeData(MSG_FRAGS, id, payload, sizeof payload);
}

WireMessage encodeRespawn(std::int32_t id) {
    return encodeData(MSG_RESPAWN, id, kRespawnPayload, sizeof kRespawnPayload);
}

WireMessage encodeWeapon(std::int32_t id, std::int32_t weapon) {
    std::uint8_t payload[4];
    writeInt32Le(payload, weapon);
    return encodeData(MSG_WEAPON, id, payload, sizeof payload);
}

WireMessage encodeGoodbye() {
    WireMessage message;
    message.length = 1;
    message.bytes[0] = MSG_GOODBYE;
    return message;
}

std::optional<ClientMessage> decodeClientMessage(const WireMessage& message) {
    const std::uint8_t type = message.type();
    const std::size_t expected = clientMessageLength(type);
    if (message.length == 0 || expected == 0 || message.length != expected) return std::nullopt;
    ClientMessage decoded;
    decoded.type = type;
    if (type == MSG_GOODBYE) return decoded;
    decoded.serial = readSerial(&message.bytes[1]);
    if (isNewObjectType(type)) decoded.typeCode = type;
    if (type == MSG_REMOVE) decoded.typeCode = message.bytes[3];
    if (type == MSG_ITEM_TAKEN) decoded.itemId = readId(&message.bytes[3]);
    return decoded;
}

}  // namespace net
