// The keyboard focus query of the game window, against the X server's own focus.
// gtest first: the X headers define None as a macro.
#include "support/gl_fixture.h"
// clang-format off
#include <GL/glx.h>
#include <X11/Xlib.h>
// clang-format on

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

}  // namespace
