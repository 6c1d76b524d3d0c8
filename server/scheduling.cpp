#include "server/scheduling.h"

#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace server {
namespace {

// The kernel's struct sched_attr, which glibc does not declare.
struct SchedAttr {
    std::uint32_t size;
    std::uint32_t policy;
    std::uint64_t flags;
    std::int32_t nice;
    std::uint32_t priority;
    std::uint64_t runtime;  // for a normal thread: its slice, in nanoseconds
    std::uint64_t deadline;
    std::uint64_t period;
};

constexpr std::uint64_t kSliceNs = 100000;

}  // namespace

std::string askForShortTimeSlices() {
    SchedAttr attr{};
    // Read first: the nice value and the policy stay as they are.
    if (::syscall(SYS_sched_getattr, 0, &attr, sizeof attr, 0) != 0)
        return std::string("sched_getattr: ") + std::strerror(errno);
    if (attr.policy != SCHED_OTHER) return "not a normal thread";
    attr.size = sizeof attr;
    attr.flags = 0;
    attr.runtime = kSliceNs;
    if (::syscall(SYS_sched_setattr, 0, &attr, 0) != 0)
        return std::string("sched_setattr: ") + std::strerror(errno);
    return {};
}

std::string askForRealTime(int priority) {
    sched_param param{};
    param.sched_priority = priority;
    if (::sched_setscheduler(0, SCHED_RR | SCHED_RESET_ON_FORK, &param) != 0)
        return std::string("sched_setscheduler: ") + std::strerror(errno);
    return {};
}

}  // namespace server
