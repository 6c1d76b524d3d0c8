#include "render/status_message.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(StatusMessage, ShowsForTwoSecondsOfFrames) {
    StatusMessage message;
    message.show("Cockpit off");
    EXPECT_TRUE(message.advance(1.9f));
    // A new message replaces the old for a full two seconds.
    message.show(std::string(150, 'x').c_str());
    EXPECT_EQ(std::string(message.text()), std::string(99, 'x'));
    EXPECT_TRUE(message.advance(1.9f));
    EXPECT_FALSE(message.advance(0.2f));
    EXPECT_FALSE(message.advance(0.0f));  // gone for good
    // A long first frame hides a message before it is drawn.
    message.show("Transparenz on");
    EXPECT_FALSE(message.advance(2.5f));
}

}  // namespace
