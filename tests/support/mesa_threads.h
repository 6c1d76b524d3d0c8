#pragma once

#include <cstdlib>

namespace testing_support {

// Mesa without render threads, for a process about to make a GL context: llvmpipe then
// draws on the calling thread (the same pixels). At exit LeakSanitizer stops every
// thread to scan it, and its tracer once crashed beside llvmpipe's render threads
// ("Tracer caught signal 11"), failing a test that had passed. A value already set is
// kept. (The shader cache keeps its one thread: without the cache every GL test process
// would compile its shaders again, about three seconds each.)
inline void withoutMesaRenderThreads() {
    setenv("LP_NUM_THREADS", "0", 0);
}

}  // namespace testing_support
