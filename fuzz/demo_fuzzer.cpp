// Demo files, as `voka --timedemo` reads them. A demo the reader takes holds as many
// frame records as its end record says and only whole server messages, and writing it
// again and reading that back gives the same bytes once more.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_support.h"
#include "net/demo/demo_format.h"
#include "net/protocol/message_types.h"

namespace {

std::vector<std::uint8_t> encode(const demo::Demo& read) {
    std::vector<std::uint8_t> bytes = demo::encodeHeader(read.header);
    for (const demo::Record& record : read.records) demo::appendRecord(bytes, record);
    demo::appendEnd(bytes, static_cast<std::uint32_t>(read.frameCount));
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::countMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const demo::ReadResult result = demo::readDemo(data, size);
    fuzz::require(result.demo.has_value() != !result.error.empty(), "a demo or a reason");
    if (!result.demo) return 0;
    std::size_t frames = 0;
    for (const demo::Record& record : result.demo->records) {
        frames += record.kind == demo::Record::Kind::Frame ? 1 : 0;
        for (const net::WireMessage& message : record.messages)
            fuzz::require(message.length == net::serverMessageLength(message.type()),
                          "whole server messages");
    }
    fuzz::require(frames == result.demo->frameCount, "the frame count of the end record");
    const std::vector<std::uint8_t> once = encode(*result.demo);
    const demo::ReadResult again = demo::readDemo(once.data(), once.size());
    fuzz::require(again.demo.has_value(), "a written demo reads back");
    fuzz::require(encode(*again.demo) == once, "writing is stable");
    return 0;
}
