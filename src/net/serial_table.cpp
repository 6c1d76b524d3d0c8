#include "net/serial_table.h"

namespace net {
namespace {

constinit SerialTable processSerials;

}  // namespace

std::int32_t SerialTable::alloc() {
    std::lock_guard<std::mutex> guard(lock_);
    for (std::int32_t serial = lowestFree_; serial < kSerialCount; ++serial) {
        if (used_[static_cast<std::size_t>(serial)] == 0) {
            used_[static_cast<std::size_t>(serial)] = 1;
            lowestFree_ = serial + 1;
            return serial;
        }
    }
    lowestFree_ = kSerialCount;
    return -1;
}

void SerialTable::free(std::int32_t serial) {
    if (serial < 0 || serial >= kSerialCount) return;
    std::lock_guard<std::mutex> guard(lock_);
    used_[static_cast<std::size_t>(serial)] = 0;
    if (serial < lowestFree_) lowestFree_ = serial;
}

std::int32_t allocSerial() {
    return processSerials.alloc();
}
void freeSerial(std::int32_t serial) {
    processSerials.free(serial);
}

}  // namespace net
