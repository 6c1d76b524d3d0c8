#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Without a display no box can be shown: the first one says why (SDL's reasons), every
// one becomes its line, and the question is answered No. VOKA_NONINTERACTIVE=1 (only
// the value 1) turns every box into its line without trying.
TEST(MessageBox, BoxesBecomeLinesWithoutADisplayOrWhenNonInteractive) {
    const std::string display = std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "";
    setenv("DISPLAY", ":4095", 1);
    setenv("VOKA_NONINTERACTIVE", "yes", 1);
    EXPECT_FALSE(platform::nonInteractive());
    testing::internal::CaptureStderr();
    showError("first");
    const std::string first = testing::internal::GetCapturedStderr();
    EXPECT_EQ(first.rfind("voka: no message box: ", 0), 0u) << first;
    EXPECT_TRUE(first.ends_with("\nerror: first\n")) << first;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(platform::askYesNo("caption", "question"));
    setenv("VOKA_NONINTERACTIVE", "1", 1);
    showError("something broke");
    EXPECT_FALSE(platform::askYesNo("Switch to FullScreen?", "Run in Fullscreen Mode?"));
    setenv("DISPLAY", display.c_str(), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "caption: question\nerror: something broke\n"
              "Switch to FullScreen?: Run in Fullscreen Mode?\n");
}

}  // namespace
