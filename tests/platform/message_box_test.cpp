#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/message_dialog.h"

namespace {

// Only VOKA_NONINTERACTIVE=1 turns the boxes into lines on standard error (the end-to-end
// runs read those lines, and see the question answered No). Without a display no box can
// be shown either: the first one says why (SDL's reasons), every one becomes its line,
// and the question is answered No.
TEST(MessageBox, WithoutADisplayEachBoxIsOneLineAndTheAnswerNo) {
    setenv("VOKA_NONINTERACTIVE", "yes", 1);
    EXPECT_FALSE(platform::nonInteractive());
    platform::initWindowSystemThreads();  // boxes are dialogs from here on
    unsetenv("VOKA_NONINTERACTIVE");
    const std::string display = std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "";
    setenv("DISPLAY", ":4095", 1);
    testing::internal::CaptureStderr();
    showError("something broke");
    EXPECT_FALSE(platform::askYesNo("Switch to FullScreen?", "Run in Fullscreen Mode?"));
    const std::string said = testing::internal::GetCapturedStderr();
    setenv("DISPLAY", display.c_str(), 1);
    setenv("VOKA_NONINTERACTIVE", "1", 1);
    EXPECT_EQ(said.rfind("voka: no message box: ", 0), 0u) << said;
    EXPECT_TRUE(said.ends_with(
        "\nerror: something broke\nSwitch to FullScreen?: Run in Fullscreen Mode?\n"))
        << said;
}

}  // namespace
