#include "net/shared_pose.h"

#include <bit>
#include <thread>

namespace net {

Pose SharedPose::load() const {
    Pose pose{};
    for (;;) {
        const std::uint32_t before = sequence_.load(std::memory_order_acquire);
        if ((before & 1U) == 0) {
            // Acquire loads keep the second read of the count after the floats.
            for (std::size_t i = 0; i < pose.size(); ++i) {
                pose[i] = std::bit_cast<float>(words_[i].load(std::memory_order_acquire));
            }
            if (sequence_.load(std::memory_order_relaxed) == before) return pose;
        }
        std::this_thread::yield();
    }
}

void SharedPose::store(const Pose& pose) {
    std::uint32_t sequence = sequence_.load(std::memory_order_relaxed);
    for (;;) {
        if ((sequence & 1U) == 0 &&
            sequence_.compare_exchange_weak(sequence, sequence + 1, std::memory_order_acquire,
                                            std::memory_order_relaxed)) {
            break;
        }
        std::this_thread::yield();
        sequence = sequence_.load(std::memory_order_relaxed);
    }
    // Release stores keep the odd count visible before any of the new floats.
    for (std::size_t i = 0; i < pose.size(); ++i) {
        words_[i].store(std::bit_cast<std::uint32_t>(pose[i]), std::memory_order_release);
    }
    sequence_.store(sequence + 2, std::memory_order_release);
}

}  // namespace net
