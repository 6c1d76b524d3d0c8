// The debug function keys: their settings, their messages, and the settings file left
// alone. The GL state they change is played in game_state_test.
#include "app/debug_keys.h"

#include <GL/freeglut.h>

#include <string>
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

TEST_F(DebugKeys, EachToggleFlipsItsSettingAndSaysSo) {
    const struct {
        int key;
        bool (*get)();
        const char* on;
        const char* off;
    } toggles[] = {
        {GLUT_KEY_F2, Settings::getShowFramerate, "Display Framerate on", "Display Framerate off"},
        {GLUT_KEY_F3, Settings::getWireframe, "Wireframe Modus on", "Wireframe Modus off"},
        {GLUT_KEY_F5, Settings::getMipmapping, "MipMapping on", "MipMapping off"},
        {GLUT_KEY_F8, Settings::getFrustumCulling, "Viewfrustum Culling on",
         "Viewfrustum Culling off"},
        {GLUT_KEY_F9, Settings::getTransparency, "Transparenz on", "Transparenz off"},
        {GLUT_KEY_F10, Settings::getShadow, "Shadow on", "Shadow off"},
        {GLUT_KEY_F11, Settings::getMultitexturing, "Multitexturing on", "Multitexturing off"},
        {GLUT_KEY_PAGE_UP, Settings::getBackfaceCulling, "Backface Culling on",
         "Backface Culling off"},
        {GLUT_KEY_PAGE_DOWN, Settings::getMotionBlur, "Motion Blur on", "Motion Blur off"},
        {GLUT_KEY_HOME, Settings::getSound, "Sound on", "Sound off"},
        {GLUT_KEY_END, Settings::getCockpit, "Cockpit on", "Cockpit off"},
        {GLUT_KEY_INSERT, Settings::getLensflare, "Lensflare on", "Lensflare off"},
    };
    for (const auto& t : toggles) {
        for (int round = 0; round < 2; ++round) {
            const bool before = t.get();
            EXPECT_EQ(press(t.key), before ? t.off : t.on) << t.key;
            EXPECT_NE(t.get(), before) << t.key;
        }
    }
}

TEST_F(DebugKeys, CyclingKeysStepRoundTheirValuesWithOneMessageEach) {
    struct Case {
        int key;
        void (*set)(std::int32_t);
        std::int32_t from;
        std::vector<std::string> shown;  // one key press each
    };
    const Case cases[] = {
        {GLUT_KEY_F6,
         Settings::setRenderMode,
         0,
         {"Rendermode: Vertex Array", "Rendermode: Displaylist", "Rendermode: vbo",
          "Rendermode: Immediate Mode"}},
        {GLUT_KEY_F4,
         Settings::setTextureQuality,
         0,
         {"Bilinear Sampling", "Trilinear Sampling", "Point Sampling"}},
        {GLUT_KEY_F7, Settings::setLod, 1, {"LOD: off", "LOD: Full Performance"}},
        // Numbers below 0 from a hand-made file come round through silent values.
        {GLUT_KEY_F7, Settings::setLod, -4, {"-", "LOD: off"}},
        {GLUT_KEY_F4, Settings::setTextureQuality, -2, {"-", "Point Sampling"}},
        {GLUT_KEY_F6, Settings::setRenderMode, 2147483647, {"Rendermode: Immediate Mode"}},
    };
    for (const Case& c : cases) {
        c.set(c.from);
        std::vector<std::string> shown;
        for (std::size_t i = 0; i < c.shown.size(); ++i) shown.push_back(press(c.key));
        EXPECT_EQ(shown, c.shown) << c.key << " from " << c.from;
    }
    // The render mode reports a value it cannot draw with as an error.
    Settings::setRenderMode(-6);
    EXPECT_EQ(press(GLUT_KEY_F6), "-");
    EXPECT_EQ(errors.texts(), std::vector<std::string>{"unsupported rendermode"});
}

TEST_F(DebugKeys, F1SwitchesTheViewpointAndNoKeyWritesTheSettingsFile) {
    dir.write("zrv.cfg", validFile());
    const testing_support::ScopedWorkingDir inDir(dir.path());
    float before[3];
    PlayerStatus::getCameraOffset(before);
    EXPECT_EQ(press(GLUT_KEY_F1), "Viewpos changed");
    float after[3];
    PlayerStatus::getCameraOffset(after);
    EXPECT_NE(after[2], before[2]);
    for (int key = GLUT_KEY_F2; key <= GLUT_KEY_INSERT; ++key) debugKey(key);
    EXPECT_EQ(press(GLUT_KEY_F12), "-");
    EXPECT_EQ(press(GLUT_KEY_LEFT), "-");
    EXPECT_EQ(dir.read("zrv.cfg"), validFile());
    PlayerStatus::nextCameraOffset();
}

}  // namespace
