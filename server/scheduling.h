#pragma once

#include <string>

namespace server {

// What the relay loop asks of the scheduler, so that a message that wakes it is relayed
// at once even when other work keeps this machine's processors busy. Each returns empty
// on success, else why not (nothing changes then).

// Short time slices (about 0.1 ms) for the calling thread, at its present nice value. On
// kernels that schedule by earliest deadline (6.12 and later) a thread that wakes with a
// short slice takes the processor from one running a long one, instead of waiting for
// that slice to end.
std::string askForShortTimeSlices();

// Real-time round-robin scheduling at `priority` (1-99) for the calling thread: it then
// runs whenever it is ready, ahead of every normal thread. Needs the right to raise
// priorities (root, CAP_SYS_NICE or an RLIMIT_RTPRIO of at least `priority`). Not
// inherited by child processes.
std::string askForRealTime(int priority);

}  // namespace server
