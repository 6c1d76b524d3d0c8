#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/message_dialog.h"

namespace {

// Non-interactive, a box is one line and the question is answered No. Without a display
// no box can be shown either: the first one says why (SDL's reasons), every one becomes
// its line, and the question is answered No.
TEST(MessageBox, WithoutADialogEachBoxIsOneLineAndTheAnswerNo) {
    setenv("VOKA_NONINTERACTIVE", "yes", 1);  // only the value 1 counts
    EXPECT_FALSE(platform::nonInteractive());
    std::string said[2];
    for (const bool dialogs : {false, true}) {
        setenv("VOKA_NONINTERACTIVE", "1", 1);
        ASSERT_TRUE(platform::nonInteractive());
        const std::string display = std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "";
        if (dialogs) {
            platform::initWindowSystemThreads();  // boxes are dialogs from here on
            unsetenv("VOKA_NONINTERACTIVE");
            setenv("DISPLAY", ":4095", 1);
        }
        testing::internal::CaptureStderr();
        showError("something broke");
        EXPECT_FALSE(platform::askYesNo("Switch to FullScreen?", "Run in Fullscreen Mode?"));
        said[dialogs] = testing::internal::GetCapturedStderr();
        setenv("DISPLAY", display.c_str(), 1);
    }
    setenv("VOKA_NONINTERACTIVE", "1", 1);
    const std::string lines =
        "error: something broke\nSwitch to FullScreen?: Run in Fullscreen Mode?\n";
    EXPECT_EQ(said[0], lines);
    EXPECT_EQ(said[1].rfind("voka: no message box: ", 0), 0u) << said[1];
    EXPECT_TRUE(said[1].ends_with("\n" + lines)) << said[1];
}

}  // namespace
