// How the status message ages with the frame time.
#include "render/status_message.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(StatusMessage, ShowsForTwoSecondsOfFrames) {
    StatusMessage message;
    message.show("Cockpit off");
    EXPECT_TRUE(message.advance(0.5f));
    EXPECT_TRUE(message.advance(0.5f));
    EXPECT_TRUE(message.advance(0.9f));
    EXPECT_FALSE(message.advance(0.2f));
    // Gone for good, and no longer ageing.
    EXPECT_FALSE(message.advance(0.0f));
    EXPECT_FLOAT_EQ(message.age(), 2.1f);
}

TEST(StatusMessage, LongFirstFrameHidesItBeforeItIsDrawn) {
    StatusMessage message;
    message.show("Transparenz on");
    EXPECT_FALSE(message.advance(2.5f));
}

TEST(StatusMessage, NewMessageReplacesTheOldForAFullTwoSeconds) {
    StatusMessage message;
    message.show("Wireframe Modus on");
    EXPECT_TRUE(message.advance(1.5f));
    message.show("Rendermode: vbo");
    EXPECT_STREQ(message.text(), "Rendermode: vbo");
    EXPECT_TRUE(message.advance(1.9f));
    EXPECT_FALSE(message.advance(0.2f));
}

TEST(StatusMessage, TwoDrawsInOneFrameAgeItTwice) {
    StatusMessage message;
    message.show("LOD: off");
    EXPECT_TRUE(message.advance(0.8f));
    EXPECT_TRUE(message.advance(0.8f));
    EXPECT_FALSE(message.advance(0.8f));
}

TEST(StatusMessage, EmptyAtStartAndLongTextsAreCut) {
    StatusMessage message;
    EXPECT_STREQ(message.text(), "");
    EXPECT_FLOAT_EQ(message.age(), 0.0f);
    const std::string longText(150, 'x');
    message.show(longText.c_str());
    EXPECT_EQ(std::string(message.text()), std::string(99, 'x'));
}

}  // namespace
