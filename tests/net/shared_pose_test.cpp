#include "net/shared_pose.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(SharedPose, ReaderNeverSeesHalfOfTwoRecordsNorAnOlderOne) {
    net::SharedPose shared;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 1; i <= 200000; ++i) {
            const float f = static_cast<float>(i);
            shared.store({f, f, f, f, f, f});
        }
        done = true;
    });
    float last = 0;
    for (int reads = 0; !done || reads < 10; ++reads) {
        const net::Pose pose = shared.load();
        for (float value : pose) ASSERT_EQ(value, pose[0]);
        ASSERT_GE(pose[0], last);
        last = pose[0];
    }
    writer.join();
    EXPECT_EQ(shared.load()[5], 200000.0f);
}

}  // namespace
