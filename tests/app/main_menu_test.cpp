#include "app/main_menu.h"

#include <gtest/gtest.h>

#include "support/gl_fixture.h"
#include "support/temp_dir.h"
#include "support/test_images.h"

namespace {

// The menu loads its entry images when it is made, so it needs them and a GL context.
class MainMenuTest : public testing_support::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        testing_support::writeScreenImages(dir.path());
    }

    testing_support::TempDir dir;
};

TEST_F(MainMenuTest, StartsOnStartAndWrapsBothWays) {
    testing_support::ScopedWorkingDir inDir(dir.path());
    MainMenu menu(0);
    EXPECT_EQ(menu.getSelection(), MainMenu::kStart);
    menu.selectPrevious();
    EXPECT_EQ(menu.getSelection(), MainMenu::kExit);
    menu.selectNext();
    EXPECT_EQ(menu.getSelection(), MainMenu::kStart);
    for (int i = 0; i < 4; ++i) menu.selectNext();
    EXPECT_EQ(menu.getSelection(), MainMenu::kExit);
    menu.selectNext();
    EXPECT_EQ(menu.getSelection(), MainMenu::kStart);
}

}  // namespace
