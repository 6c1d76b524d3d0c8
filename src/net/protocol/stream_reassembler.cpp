#include "net/protocol/stream_reassembler.h"

#include <algorithm>

namespace net {

std::size_t StreamReassembler::push(const std::uint8_t* data, std::size_t size) {
    if (partial_.length == 0) {
        expected_ = lengthOf_(data[0]);
        if (expected_ == 0 || expected_ > kMaxMessageLength) {
            failed_ = true;
            undefinedType_ = data[0];
            return 0;
        }
    }
    const std::size_t take = std::min(size, expected_ - partial_.length);
    std::copy(data, data + take, partial_.bytes.begin() + partial_.length);
    partial_.length += take;
    return take;
}

}  // namespace net
