#pragma once

#include <array>
#include <cstdint>
#include <mutex>

namespace net {

// The serials that this client has handed out to its own objects: the low 16 bits of
// their identifiers. One flag per serial below kSerialCount.
class SerialTable {
  public:
    static constexpr std::int32_t kSerialCount = 30000;

    constexpr SerialTable() = default;

    // The lowest free serial, now marked used, or -1 when all are in use.
    std::int32_t alloc();
    // Frees a serial; values outside the table (such as 0xFFFF) are ignored.
    void free(std::int32_t serial);

  private:
    std::mutex lock_;
    std::array<std::uint8_t, kSerialCount> used_{};
    std::int32_t lowestFree_ = 0;  // no free serial lies below it
};

// The process-wide table.
std::int32_t allocSerial();
void freeSerial(std::int32_t serial);

}  // namespace net
