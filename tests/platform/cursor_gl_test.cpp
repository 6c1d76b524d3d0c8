// The keyboard focus query of the game window, against the X server's own focus.
// gtest first: the X headers define None as a macro.
#include "support/gl_fixture.h"
// clang-format off
#include <GL/glx.h>
#include <X11/Xlib.h>
// clang-format on

#include "net/match/mouse_look.h"
#include "platform/cursor.h"

namespace {

class CursorGlTest : public testing_support::GlTest {};

TEST_F(CursorGlTest, TheWindowHasTheFocusOnlyWhileTheServerGivesItTo) {
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    ASSERT_NE(display, nullptr);
    const Window root = DefaultRootWindow(display);
    struct Case {
        Window focus;
        int pointerX;  // root coordinates; the window spans 0..kWidth at the top left
        bool expected;
    };
    const Case cases[] = {
        {window, kWidth * 4, true}, {None, 10, false},
        {root, 10, false},  // another window has it
        {PointerRoot, 10, true},    {PointerRoot, kWidth * 4, false},
    };
    for (const Case& c : cases) {
        XWarpPointer(display, None, root, 0, 0, 0, 0, c.pointerX, 10);
        XSetInputFocus(display, c.focus, RevertToPointerRoot, CurrentTime);
        XSync(display, False);
        EXPECT_EQ(platform::hasKeyboardFocus(), c.expected) << c.focus << " " << c.pointerX;
    }
    XSetInputFocus(display, PointerRoot, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
}

// The cursor wandered off while the game had no focus: taking the focus back only
// re-centres it, and only moves after that turn the look.
TEST_F(CursorGlTest, MouseLookTurnsOnlyWithTheFocusAndNotForTheWayBack) {
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    const MouseLookSettings settings{kWidth, kHeight, 50, false};  // a pixel a degree
    MouseLook look;
    const auto read = [&](Window focus, int x) {
        XSetInputFocus(display, focus, RevertToPointerRoot, CurrentTime);
        XWarpPointer(display, None, window, 0, 0, 0, 0, x, kHeight / 2);
        XSync(display, False);
        return look.read(settings);
    };
    EXPECT_FALSE(read(None, 10));
    int x = 0;
    int y = 0;
    ASSERT_TRUE(platform::getCursorPos(x, y));
    EXPECT_EQ(x, 10) << "left where it is without the focus";
    EXPECT_FALSE(read(window, 20)) << "the way back";
    ASSERT_TRUE(platform::getCursorPos(x, y));
    EXPECT_EQ(x, kWidth / 2);
    const auto turn = read(window, kWidth / 2 - 7);
    ASSERT_TRUE(turn);
    EXPECT_FLOAT_EQ(turn->yaw, 7.0f);
    XSetInputFocus(display, PointerRoot, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
}

}  // namespace
