// The built game, driven with real key events: menu, configuration screen, save or
// cancel, exit.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <thread>

#include "config/settings_fixture.h"
#include "support/e2e_runner.h"
#include "support/temp_dir.h"
#include "support/test_images.h"

namespace {

using testing_support::E2eRun;

class ConfigE2e : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // A key held longer than the X server's repeat delay (a busy machine) would type
        // twice. A freshly started X server may refuse its first connections.
        for (int i = 0; i < 50; ++i) {
            if (testing_support::runCommand("xset r off 2>/dev/null && echo ok") == "ok\n") break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        testing_support::writeScreenImages(dir.path());
        dir.write("zrv.cfg", validFile());  // as the game writes it
    }
    void TearDown() override { unsetenv("SDL_AUDIODRIVER"); }

    // Starts the game and waits for its window. A freshly started X server sometimes
    // refuses a connection; the game then ends at once and is started again. `why`
    // collects what each failed attempt said.
    std::unique_ptr<E2eRun> startGame(std::string& why) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            auto run =
                std::make_unique<E2eRun>(testing_support::builtBinary("src/voka"), dir.path());
            if (run->waitForWindow()) return run;
            why += run->report() + "\n";
            if (run->running()) break;
        }
        return nullptr;
    }

    static void keys(E2eRun& run, std::initializer_list<const char*> keysyms) {
        for (const char* keysym : keysyms) run.key(keysym);
    }
    // From the menu with "configuration" selected: opens the configuration screen and
    // types `name` into the name row of the game page, which stays selected.
    static void renamePlayer(E2eRun& run, const std::string& name) {
        keys(run, {"Return", "Right", "Down", "Return"});
        for (const char c : name) run.key(std::string(1, c));
        run.key("Return");
    }

    testing_support::TempDir dir;
};

// A rename and the shadow switched off, cancelled; back in, a rename and the next
// resolution, saved: the file holds the saved values alone.
TEST_F(ConfigE2e, CancelRestoresTheFileValuesAndSaveWritesThem) {
    std::string why;
    const auto game = startGame(why);
    ASSERT_TRUE(game) << why;
    E2eRun& run = *game;
    run.key("Down");  // from "start"
    renamePlayer(run, "zed");
    keys(run, {"Down", "Down", "Down", "Down", "Down", "Return"});  // shadow off
    keys(run, {"Right", "Right", "Return"});                        // cancel
    renamePlayer(run, "rex7");
    keys(run, {"Down", "Down", "Down", "Down", "Return"});  // 1024x768 becomes 1280x1024
    // Save, then exit from the menu (configuration still selected there).
    keys(run, {"Right", "Return", "Up", "Up", "Return"});
    ASSERT_EQ(run.wait(), 0) << run.report();

    EXPECT_EQ(dir.read("zrv.cfg"), withValue("playername", "rex7", withValue("resolution", "3")));
}

}  // namespace
