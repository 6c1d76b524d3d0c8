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

class CursorGlTest : public testing_support::GlTest {
  protected:
    // Moves the pointer to x, half way down, of `relativeTo` and gives the focus to `to`.
    static void set(Window to, Window relativeTo, int x) {
        Display* display = glXGetCurrentDisplay();
        XWarpPointer(display, None, relativeTo, 0, 0, 0, 0, x, kHeight / 2);
        XSetInputFocus(display, to, RevertToPointerRoot, CurrentTime);
        XSync(display, False);
    }
    void TearDown() override { set(PointerRoot, glXGetCurrentDrawable(), kWidth / 2); }
};

TEST_F(CursorGlTest, TheWindowHasTheFocusOnlyWhileTheServerGivesItAndOnlyThenLooks) {
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable(), root = DefaultRootWindow(display);
    const Window inside = XCreateSimpleWindow(display, window, 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(display, inside);
    // x in root coordinates; the window spans 0..kWidth at the top left.
    const struct {
        Window focus;
        int x;
        bool expected;
    } cases[] = {{window, kWidth * 4, true}, {inside, kWidth * 4, true},
                 {None, 10, false},          {root, 10, false},  // another window has it
                 {PointerRoot, 10, true},    {PointerRoot, kWidth * 4, false}};
    for (const auto& c : cases) {
        set(c.focus, root, c.x);
        EXPECT_EQ(platform::hasKeyboardFocus(), c.expected) << c.focus << " " << c.x;
    }
    XDestroyWindow(display, inside);
    // The cursor wandered off while the game had no focus: taking the focus back only
    // re-centres it, and only moves after that turn the look.
    MouseLook look;
    const auto read = [&](Window to, int x) {
        set(to, window, x);
        return look.read({kWidth, kHeight, 50, false});  // a pixel a degree
    };
    int x = 0, y = 0;
    EXPECT_FALSE(read(None, 10));
    EXPECT_TRUE(platform::getCursorPos(x, y) && x == 10) << "left where it is without the focus";
    EXPECT_FALSE(read(window, 20)) << "the way back";
    EXPECT_TRUE(platform::getCursorPos(x, y) && x == kWidth / 2) << x;
    EXPECT_EQ(read(window, kWidth / 2 - 7).value_or(LookTurn{}).yaw, 7.0f);
}

}  // namespace
