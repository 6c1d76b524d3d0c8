#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/message_dialog.h"

namespace {

TEST(MessageBox, NonInteractiveModeWritesOneLineAndAnswersNo) {
    setenv("VOKA_NONINTERACTIVE", "yes", 1);  // only the value 1 counts
    EXPECT_FALSE(platform::nonInteractive());
    setenv("VOKA_NONINTERACTIVE", "1", 1);
    ASSERT_TRUE(platform::nonInteractive());
    testing::internal::CaptureStderr();
    showError("something broke");
    const bool answer = platform::askYesNo("Switch to FullScreen?", "Run in Fullscreen Mode?");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(answer);
    EXPECT_EQ(err,
              "error: something broke\n"
              "Switch to FullScreen?: Run in Fullscreen Mode?\n");
}

// Without a display no box can be shown: the first one says why (SDL's reasons), every
// one becomes its line, and the question is answered No.
TEST(MessageBox, BoxThatCannotBeShownSaysWhyOnceAndFallsBackToALine) {
    platform::initWindowSystemThreads();  // boxes are dialogs from here on
    unsetenv("VOKA_NONINTERACTIVE");
    const std::string display = std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "";
    setenv("DISPLAY", ":4095", 1);
    testing::internal::CaptureStderr();
    showError("first");
    const std::string first = testing::internal::GetCapturedStderr();
    testing::internal::CaptureStderr();
    const bool answer = platform::askYesNo("caption", "question");
    const std::string second = testing::internal::GetCapturedStderr();
    setenv("DISPLAY", display.c_str(), 1);
    setenv("VOKA_NONINTERACTIVE", "1", 1);
    EXPECT_EQ(first.rfind("voka: no message box: ", 0), 0u) << first;
    EXPECT_TRUE(first.ends_with("\nerror: first\n")) << first;
    EXPECT_EQ(second, "caption: question\n");
    EXPECT_FALSE(answer);
}

}  // namespace
