#pragma once

// What the fuzz targets share: message boxes counted instead of shown, and a check that
// turns a broken invariant of a reader into a finding.

#include <cstdio>
#include <cstdlib>

#include "platform/message_box.h"

namespace fuzz {

// The message boxes raised since countMessages.
inline int& messageCount() {
    static int count = 0;
    return count;
}

// From LLVMFuzzerInitialize: every box is counted and answered at once.
inline void countMessages() {
    platform::setMessageSink(
        [](void*, const char*, const char*) {
            ++messageCount();
            return false;
        },
        nullptr);
}

// A broken invariant ends the run like a crash, so that libFuzzer keeps the input.
inline void require(bool holds, const char* invariant) {
    if (holds) return;
    std::fprintf(stderr, "fuzz invariant broken: %s\n", invariant);
    std::abort();
}

}  // namespace fuzz
