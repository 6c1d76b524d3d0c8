#include "server/short_slices.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <thread>

namespace {

// On a thread of its own, niced first: the nice value stays, and where the kernel takes
// slices the thread's is 0.1 ms.
TEST(ShortTimeSlices, KeepTheNiceValue) {
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

}  // namespace
