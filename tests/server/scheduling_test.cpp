#include "server/scheduling.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <thread>

namespace {

// Each on a thread of its own. Niced first: the nice value stays, and where the kernel
// takes slices the thread's is 0.1 ms.
TEST(Scheduling, ShortSlicesKeepTheNiceValue) {
    std::thread([] {
        const auto tid = static_cast<id_t>(::syscall(SYS_gettid));
        ASSERT_EQ(::setpriority(PRIO_PROCESS, tid, 7), 0);
        const std::string why = server::askForShortTimeSlices();
        EXPECT_EQ(::getpriority(PRIO_PROCESS, tid), 7);
        if (!why.empty()) GTEST_SKIP() << "this kernel has no slices to ask for: " << why;
        std::ifstream sched("/proc/self/task/" + std::to_string(tid) + "/sched");
        std::string line;
        while (std::getline(sched, line) && line.rfind("se.slice", 0) != 0) {
        }
        EXPECT_EQ(std::stol(line.substr(line.find(':') + 1)), 100000) << line;
    }).join();
}

// Round robin at the priority asked for, and not handed on to child processes.
TEST(Scheduling, RealTimeAtThePriorityAskedFor) {
    std::thread([] {
        const std::string why = server::askForRealTime(3);
        if (!why.empty()) GTEST_SKIP() << "no right to real-time scheduling here: " << why;
        EXPECT_EQ(::sched_getscheduler(0), SCHED_RR | SCHED_RESET_ON_FORK);
        sched_param param{};
        ASSERT_EQ(::sched_getparam(0, &param), 0);
        EXPECT_EQ(param.sched_priority, 3);
    }).join();
}

}  // namespace
