// The rules of the match that need neither a window nor a network, where the World's
// own tests cannot reach their edges.
#include <gtest/gtest.h>

#include "net/match/combat_rules.h"
#include "net/match/mouse_look.h"
#include "net/match/player_names.h"

namespace {

// Without a client number nobody can name us.
TEST(Hit, AKillNamesTheOwnClientOnlyWhenItHasANumber) {
    EXPECT_TRUE(isOwnFrag(0x00030001, 0x00030001));
    EXPECT_FALSE(isOwnFrag(0x00040001, 0x00030001));
    EXPECT_FALSE(isOwnFrag(-1, -1));
}

// Up to eight bytes up to the first NUL; anything a terminal would act on becomes "?".
TEST(Names, AnnouncedNamesAreCutAndCleaned) {
    const std::uint8_t kim[8] = {'K', 'i', 'm', 0, 'x', 'x', 'x', 'x'};
    const std::uint8_t full[8] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'};
    const std::uint8_t escape[8] = {0x1b, '[', '2', 'J', 0xE4, 0, 0, 0};
    EXPECT_EQ(announcedName(kim, 8) + announcedName(full, 8), "KimABCDEFGH");
    EXPECT_EQ(announcedName(escape, 8), "?[2J?");
}

// The offset from the centre over fifty times the sensitivity, pitch inverted on demand.
TEST(MouseLook, TheOffsetFromTheCentreOverFiftyTimesTheSensitivity) {
    const struct {
        int x, y, sensitivity;
        bool invert;
        std::optional<LookTurn> turn;
    } cases[] = {{400, 300, 5, false, std::nullopt},
                 {401, 300, 1, false, LookTurn{-0.02f, 0.0f}},  // a slow hand still turns
                 {390, 290, 5, false, LookTurn{1.0f, 1.0f}},
                 {390, 290, 5, true, LookTurn{1.0f, -1.0f}}};
    for (const auto& c : cases) {
        const auto turn = lookTurn(c.x, c.y, {800, 600, c.sensitivity, c.invert});
        ASSERT_EQ(turn.has_value(), c.turn.has_value()) << c.x << "," << c.y;
        if (!turn) continue;
        EXPECT_EQ(std::tie(turn->yaw, turn->pitch), std::tie(c.turn->yaw, c.turn->pitch));
    }
    const LookTurn back = centreViewTurn(35.0f, -12.5f);
    EXPECT_EQ(std::make_pair(back.yaw, back.pitch), std::make_pair(-35.0f, 12.5f));
}

}  // namespace
