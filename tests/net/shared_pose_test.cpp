#include "net/shared_pose.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "net/net_object.h"

namespace {

TEST(SharedPose, ReaderNeverSeesHalfOfTwoRecords) {
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
    int reads = 0;
    while (!done || reads < 10) {
        const net::Pose pose = shared.load();
        for (float value : pose) ASSERT_EQ(value, pose[0]);
        ASSERT_GE(pose[0], last);  // records never go back in time
        last = pose[0];
        ++reads;
    }
    writer.join();
    EXPECT_EQ(shared.load()[5], 200000.0f);
}

TEST(WirePose, CarriesTheRenderPoseFieldsInOrder) {
    const Pose pose{1, 2, 3, 4, 5, 6};
    const net::Pose wire = net::toWirePose(pose);
    EXPECT_EQ(wire, (net::Pose{1, 2, 3, 4, 5, 6}));
    const Pose back = net::fromWirePose(wire);
    EXPECT_EQ(back.rotY, 5.0f);
    EXPECT_EQ(back.z, 3.0f);
}

}  // namespace
