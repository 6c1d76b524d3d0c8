#pragma once

#include <cstdint>

#include "net/protocol/client_messages.h"
#include "net/shared_pose.h"

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

}  // namespace net
