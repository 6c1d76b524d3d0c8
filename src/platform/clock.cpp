#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace platform {
namespace {

using SteadyClock = std::chrono::steady_clock;

// Origin of the game clock as steady-clock ticks; 0 means "not started yet", in which
// case the first reading starts it.
std::atomic<SteadyClock::rep> g_origin{0};

SteadyClock::rep now() {
    return SteadyClock::now().time_since_epoch().count();
}

}  // namespace

void startClock() {
    g_origin.store(now());
}

std::uint32_t timeGetTime() {
    SteadyClock::rep origin = g_origin.load();
    if (origin == 0) {
        SteadyClock::rep expected = 0;
        g_origin.compare_exchange_strong(expected, now());
        origin = g_origin.load();
    }
    const SteadyClock::duration elapsed{now() - origin};
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    return static_cast<std::uint32_t>(ms);
}

float clockSeconds() {
    return static_cast<float>(timeGetTime()) * 0.001f;
}

void sleepMs(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace platform
