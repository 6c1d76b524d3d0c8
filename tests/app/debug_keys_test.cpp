// The debug function keys: their settings, their messages, and the settings file left
// alone. The GL state they change is played in game_state_test.
#include "app/debug_keys.h"

#include <GL/freeglut.h>

#include <string>
#include <tuple>
#include <vector>

#include "config/settings_fixture.h"
#include "net/player_status.h"
#include "render/status_message.h"

namespace {

class DebugKeys : public SettingsTest {
  protected:
    // The status line after one key; "-" when the key said nothing.
    static std::string press(int key) {
        showStatusMessage("-");
        debugKey(key);
        return statusMessage().text();
    }
};

// Every toggle takes one path through one table: its first and last rows stand for it.
// The cycling keys step round their values with one message each.
TEST_F(DebugKeys, TogglesFlipCyclingKeysStepRoundAndNothingReachesTheFile) {
    const std::tuple<int, bool (*)(), std::string> toggles[] = {
        {GLUT_KEY_F2, Settings::getShowFramerate, "Display Framerate"},
        {GLUT_KEY_INSERT, Settings::getLensflare, "Lensflare"}};
    for (const auto& [key, get, name] : toggles)
        for (int round = 0; round < 2; ++round) {
            const bool before = get();
            EXPECT_EQ(press(key), name + (before ? " off" : " on")) << key;
            EXPECT_NE(get(), before) << key;
        }
    // Key, the setting it steps, the start value, then one message per press. Numbers
    // below 0 from a hand-made file come round through silent values.
    const std::tuple<int, void (*)(std::int32_t), std::int32_t, std::vector<std::string>> cases[] =
        {{GLUT_KEY_F6,
          Settings::setRenderMode,
          0,
          {"Rendermode: Vertex Array", "Rendermode: Displaylist", "Rendermode: vbo",
           "Rendermode: Immediate Mode"}},
         {GLUT_KEY_F7, Settings::setLod, -4, {"-", "LOD: off", "LOD: Full Performance"}},
         {GLUT_KEY_F6, Settings::setRenderMode, 2147483647, {"Rendermode: Immediate Mode"}}};
    for (const auto& [key, set, from, messages] : cases) {
        set(from);
        std::vector<std::string> shown;
        for (std::size_t i = 0; i < messages.size(); ++i) shown.push_back(press(key));
        EXPECT_EQ(shown, messages) << key << " from " << from;
    }
    // The render mode reports a value it cannot draw with as an error.
    Settings::setRenderMode(-6);
    EXPECT_EQ(press(GLUT_KEY_F6), "-");
    EXPECT_EQ(errors.texts(), std::vector<std::string>{"unsupported rendermode"});
    // F1 switches the viewpoint; F12 and the arrows say nothing; no key writes the file.
    dir.write("zrv.cfg", validFile());
    const testing_support::ScopedWorkingDir inDir(dir.path());
    float before[3], after[3];
    PlayerStatus::getCameraOffset(before);
    EXPECT_EQ(press(GLUT_KEY_F1), "Viewpos changed");
    PlayerStatus::getCameraOffset(after);
    EXPECT_NE(after[2], before[2]);
    PlayerStatus::nextCameraOffset();
    for (int key = GLUT_KEY_F2; key <= GLUT_KEY_INSERT; ++key) debugKey(key);
    EXPECT_EQ(press(GLUT_KEY_F12) + press(GLUT_KEY_LEFT), "--");
    EXPECT_EQ(dir.read("zrv.cfg"), validFile());
}

}  // namespace
