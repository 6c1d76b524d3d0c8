// The rules of the match that need neither a window nor a network, where the World's
// own tests cannot reach their edges, and the player's values that two threads share.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "net/match/combat_rules.h"
#include "net/match/mouse_look.h"
#include "net/match/player_names.h"
#include "net/player_status.h"
#include "net/protocol/game_codes.h"

namespace {

// Without a client number nobody can name us.
TEST(Hit, AKillNamesTheOwnClientOnlyWhenItHasANumber) {
    EXPECT_TRUE(isOwnFrag(0x030001, 0x030001) && !isOwnFrag(0x040001, 0x030001) &&
                !isOwnFrag(-1, -1));
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
        const LookTurn none{99, 99}, got = turn.value_or(none), want = c.turn.value_or(none);
        EXPECT_EQ(std::pair(got.yaw, got.pitch), std::pair(want.yaw, want.pitch)) << c.x;
    }
    const LookTurn back = centreViewTurn(35.0f, -12.5f);
    EXPECT_EQ(std::make_pair(back.yaw, back.pitch), std::make_pair(-35.0f, 12.5f));
}

// (The camera offsets are the camera's tests.)

// -1 takes one round, even at zero; weapon numbers outside the table hold nothing.
TEST(PlayerStatus, MinusOneTakesOneRoundOtherWeaponsHoldNothingAndRespawnsRearm) {
    PlayerStatus::resetAll();
    PlayerStatus::setAmmo(200, WEAPON_MG);
    PlayerStatus::setAmmo(-1, WEAPON_MG);
    PlayerStatus::setAmmo(-1, WEAPON_RAIL);
    PlayerStatus::setAmmo(5, 10);
    PlayerStatus::setAmmo(5, -1);
    EXPECT_EQ(
        std::vector<int>({PlayerStatus::getAmmo(WEAPON_MG), PlayerStatus::getAmmo(WEAPON_RAIL),
                          PlayerStatus::getAmmo(10), PlayerStatus::getAmmo(-1)}),
        std::vector<int>({199, -1, 0, 0}));
    // A match start keeps the armor and clears the frags; a respawn the other way round.
    for (const bool respawn : {false, true}) {
        PlayerStatus::setWeapon(WEAPON_RAIL);
        PlayerStatus::setAmmo(4, WEAPON_RAIL);
        PlayerStatus::setHealth(0);
        PlayerStatus::setArmor(50);
        PlayerStatus::addFrag();
        respawn ? PlayerStatus::resetForRespawn() : PlayerStatus::resetForMatch();
        EXPECT_EQ(std::vector<int>({PlayerStatus::getWeapon(), PlayerStatus::getAmmo(WEAPON_MG),
                                    PlayerStatus::getAmmo(WEAPON_RAIL), PlayerStatus::getHealth(),
                                    PlayerStatus::getArmor(), PlayerStatus::getFrags()}),
                  std::vector<int>({WEAPON_MG, 200, 0, 100, respawn ? 0 : 50, respawn ? 1 : 0}));
    }
}

// The receiving thread counts frags and changes health while the main thread reads and
// writes them; no count may be lost and ThreadSanitizer must stay quiet.
TEST(PlayerStatus, CountsWrittenFromTwoThreads) {
    PlayerStatus::resetAll();
    std::thread network([] {
        for (int i = 0; i < 10000; ++i) {
            PlayerStatus::addFrag();
            PlayerStatus::setHealth(i);
        }
    });
    int seen = 0;
    for (int i = 0; i < 10000; ++i) {
        PlayerStatus::addFrag();
        seen = std::max(seen, PlayerStatus::getHealth());
    }
    network.join();
    EXPECT_EQ(PlayerStatus::getFrags(), 20000);
    EXPECT_LE(seen, 9999);
}

}  // namespace
