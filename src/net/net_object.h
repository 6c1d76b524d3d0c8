#pragma once

#include <cstdint>

#include "net/protocol/client_messages.h"
#include "net/shared_pose.h"
#include "render/body.h"

namespace net {

// What the network needs from a match object: its identifier, its type code and its
// shared 24-byte state. The World's objects provide it; the network only ever holds
// non-owning pointers, and the World withdraws an object from the network before it
// destroys it.
class NetObject {
  public:
    virtual ~NetObject() = default;
    virtual std::int32_t netId() const = 0;
    virtual std::uint8_t netType() const = 0;
    virtual SharedPose& netPose() = 0;

    ObjectRef ref() const { return {netId(), netType()}; }

  protected:
    NetObject() = default;
    NetObject(const NetObject&) = default;
    NetObject& operator=(const NetObject&) = default;
};

// A NetObject that keeps its identifier, type code and shared state itself, as the
// match's rules objects do (VokaState, ShotState), with a number that tells apart two
// objects that held the same identifier one after the other.
class NetEntity : public NetObject {
  public:
    std::int32_t netId() const override { return id; }
    std::uint8_t netType() const override { return type; }
    SharedPose& netPose() override { return sharedPose_; }

    std::int32_t id = -1;
    std::uint8_t type = 0;
    std::uint64_t instance = 0;

  protected:
    explicit NetEntity(std::uint8_t typeCode) : type(typeCode) {}

  private:
    SharedPose sharedPose_;
};

// The wire pose is the render Pose's six floats in the same order: position x, y, z,
// then the rotations about x, y and z (a projectile carries its impact point in the
// last three).
inline Pose toWirePose(const ::Pose& pose) {
    return {pose.x, pose.y, pose.z, pose.rotX, pose.rotY, pose.rotZ};
}
inline ::Pose fromWirePose(const Pose& wire) {
    return {wire[0], wire[1], wire[2], wire[3], wire[4], wire[5]};
}

}  // namespace net
