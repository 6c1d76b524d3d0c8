#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Field codecs of the wire protocol. Identifiers and serials are big-endian and
// unsigned; poses are six little-endian IEEE-754 floats.

namespace net {

// Position x, y, z (z is the height), then the rotations about x, y and z in degrees
// (the third is the heading). A projectile carries its impact point in the last three.
using Pose = std::array<float, 6>;
inline constexpr std::size_t kPoseBytes = 24;

// An object identifier is (clientNumber << 16) | serial. A client writes only the low
// 16 bits (the serial), the server the low 24 bits (client number first).
void writeSerial(std::uint8_t* out, std::int32_t id);
std::int32_t readSerial(const std::uint8_t* in);
void writeId(std::uint8_t* out, std::int32_t id);
// (b0 << 16) | (b1 << 8) | b2, each byte unsigned.
std::int32_t readId(const std::uint8_t* in);

void writePose(std::uint8_t* out, const Pose& pose);
Pose readPose(const std::uint8_t* in);
// False when any float is infinite or not a number; such a pose is never stored.
bool isFinitePose(const Pose& pose);

void writeInt32Le(std::uint8_t* out, std::int32_t value);

}  // namespace net
