#include "net/shared_pose.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "net/net_object.h"

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
    // The drawn pose and the wire pose carry the same fields in the same order.
    EXPECT_EQ(net::toWirePose(net::fromWirePose({1, 2, 3, 4, 5, 6})),
              (net::Pose{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(net::fromWirePose({1, 2, 3, 4, 5, 6}).rotY, 5.0f);
}

}  // namespace
