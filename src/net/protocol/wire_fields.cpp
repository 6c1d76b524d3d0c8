#include "net/protocol/wire_fields.h"

#include <bit>
#include <cmath>

namespace net {

void writeSerial(std::uint8_t* out, std::int32_t id) {
    const auto bits = static_cast<std::uint32_t>(id);
    out[0] = static_cast<std::uint8_t>(bits >> 8);
    out[1] = static_cast<std::uint8_t>(bits);
}

std::int32_t readSerial(const std::uint8_t* in) {
    return (in[0] << 8) | in[1];
}

void writeId(std::uint8_t* out, std::int32_t id) {
    const auto bits = static_cast<std::uint32_t>(id);
    out[0] = static_cast<std::uint8_t>(bits >> 16);
    out[1] = static_cast<std::uint8_t>(bits >> 8);
    out[2] = static_cast<std::uint8_t>(bits);
}

std::int32_t readId(const std::uint8_t* in) {
    return (in[0] << 16) | (in[1] << 8) | in[2];
}

void writeInt32Le(std::uint8_t* out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

void writePose(std::uint8_t* out, const Pose& pose) {
    for (std::size_t i = 0; i < pose.size(); ++i) {
        writeInt32Le(out + 4 * i, std::bit_cast<std::int32_t>(pose[i]));
    }
}

Pose readPose(const std::uint8_t* in) {
    Pose pose{};
    for (std::size_t i = 0; i < pose.size(); ++i) {
        const std::uint8_t* p = in + 4 * i;
        const std::uint32_t bits = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) |
                                   (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
        pose[i] = std::bit_cast<float>(bits);
    }
    return pose;
}

bool isFinitePose(const Pose& pose) {
    for (float value : pose) {
        if (!std::isfinite(value)) return false;
    }
    return true;
}

}  // namespace net
