#pragma once

#include <string>

namespace server {

// Asks the scheduler to run the calling thread in short time slices (about 0.1 ms)
// at its present nice value. On kernels that schedule by earliest deadline (6.12 and
// later) a thread that wakes with a short slice takes the processor from one running
// a long one at once, instead of waiting for that slice to end: a relay woken by a
// message is not held up a few milliseconds by bulk work on the same machine. Empty
// on success, else why not (an older kernel: nothing changes).
std::string askForShortTimeSlices();

}  // namespace server
