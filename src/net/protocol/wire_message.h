#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "net/protocol/message_types.h"

namespace net {

// One whole message as it travels, type byte first. Fixed storage: no message of the
// protocol is longer than kMaxMessageLength bytes.
struct WireMessage {
    std::array<std::uint8_t, kMaxMessageLength> bytes{};
    std::size_t length = 0;

    std::uint8_t type() const { return bytes[0]; }
    // The bytes after the type byte.
    const std::uint8_t* body() const { return bytes.data() + 1; }
    std::span<const std::uint8_t> view() const { return {bytes.data(), length}; }
    bool operator==(const WireMessage& other) const {
        return view().size() == other.view().size() &&
               std::equal(view().begin(), view().end(), other.view().begin());
    }
};

}  // namespace net
