#pragma once

#include <cstddef>
#include <cstdint>

#include "net/protocol/wire_message.h"

namespace net {

// Turns byte chunks of any size, as a stream socket delivers them, into whole messages.
// The length of each message comes from its type byte through the length rule of the
// direction being read (serverMessageLength or clientMessageLength). At most one partial
// message is held, so memory stays fixed however the stream is cut.
class StreamReassembler {
  public:
    using LengthRule = std::size_t (*)(std::uint8_t type);

    explicit StreamReassembler(LengthRule lengthOf) : lengthOf_(lengthOf) {}

    // Hands each whole message in `data` (together with any partial one held from the
    // previous chunk) to `sink`, which returns false to stop early. Returns false when
    // the stream has a type byte without a length; it is then out of step for good and
    // later calls deliver nothing.
    template <typename Sink>
    bool feed(const std::uint8_t* data, std::size_t size, Sink&& sink) {
        while (size > 0 && !failed_) {
            const std::size_t used = push(data, size);
            data += used;
            size -= used;
            if (complete()) {
                const bool more = sink(static_cast<const WireMessage&>(partial_));
                partial_.length = 0;
                if (!more) break;
            }
        }
        return !failed_;
    }

    bool failed() const { return failed_; }
    // The type byte that put the stream out of step.
    std::uint8_t undefinedType() const { return undefinedType_; }
    // True while part of a message waits for more bytes.
    bool holdsPartial() const { return partial_.length > 0 && !complete(); }

  private:
    // Takes bytes until one message is whole or the bytes run out; returns how many.
    std::size_t push(const std::uint8_t* data, std::size_t size);
    bool complete() const { return expected_ > 0 && partial_.length == expected_; }

    LengthRule lengthOf_;
    WireMessage partial_;
    std::size_t expected_ = 0;
    bool failed_ = false;
    std::uint8_t undefinedType_ = 0;
};

}  // namespace net
