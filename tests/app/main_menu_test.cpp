#include "app/main_menu.h"

#include <gtest/gtest.h>

namespace {

TEST(MainMenu, StartsOnStartAndWrapsBothWays) {
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
