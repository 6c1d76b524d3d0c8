#pragma once

#include <cstdlib>

namespace testing_support {

// Mesa without threads of its own, for a process about to make a GL context: llvmpipe
// draws on the calling thread (the same pixels) and keeps no shader cache on disk. At
// exit LeakSanitizer stops every thread to scan it, and its tracer once crashed beside
// Mesa's render threads ("Tracer caught signal 11"), failing a test that had passed;
// with none of them, it stops only ours. Values already set are kept.
inline void withoutMesaThreads() {
    setenv("LP_NUM_THREADS", "0", 0);
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
}

}  // namespace testing_support
