#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "net/protocol/wire_fields.h"

namespace net {

// The 24-byte state of a match object, shared between the thread that moves it and the
// thread that reads it (the main thread and the sending thread for own objects, the
// receiving thread and the main thread for remote ones). It is a sequence lock: a writer
// makes the count odd, stores the six floats and makes it even again; a reader retries
// until it read the same even count before and after the floats. A reader therefore never
// sees a record that is half old and half new, and never waits for a lock the other
// thread holds; writers are serialised among themselves.
class SharedPose {
  public:
    SharedPose() = default;
    explicit SharedPose(const Pose& pose) { store(pose); }
    SharedPose(const SharedPose& other) : SharedPose(other.load()) {}
    SharedPose& operator=(const SharedPose& other) {
        store(other.load());
        return *this;
    }

    Pose load() const;
    void store(const Pose& pose);

  private:
    std::atomic<std::uint32_t> sequence_{0};
    std::array<std::atomic<std::uint32_t>, 6> words_{};
};

}  // namespace net
