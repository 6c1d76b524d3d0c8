// The rules of the match that need neither a window nor a network.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "net/match/arena.h"
#include "net/match/combat_rules.h"
#include "net/match/fire_rule.h"
#include "net/match/mouse_look.h"
#include "net/match/player_names.h"
#include "net/match/ranking.h"

namespace {

// The trigger held for a number of frames; a shot takes a round, as the World does.
TEST(FireRule, ShotsAndEmptyClicksKeepTheWeaponsPace) {
    struct Case {
        std::int32_t weapon, ammo;
        double dt;
        int frames, shots, empties;
    };
    const Case cases[] = {
        {WEAPON_MG, 200, 0.001, 1000, 7, 0},  // 0.15 s and the reset frame: ~6.6 a second
        {WEAPON_RAIL, 10, 0.01, 500, 3, 0},   // 2 s apart
        {WEAPON_MG, 3, 0.001, 1000, 3, 4},   {WEAPON_RAIL, 0, 0.01, 500, 0, 3},
        {WEAPON_MG, 200, 0.0, 1000, 1, 0},  // frames under the clock's millisecond
        {3, 200, 0.001, 1000, 0, 0},        // no such weapon
    };
    for (const Case& c : cases) {
        FireTimer timer;
        std::int32_t ammo = c.ammo;
        int counts[3] = {};
        for (int frame = 0; frame < c.frames; ++frame) {
            const FireAction action = timer.step(c.weapon, true, ammo, c.dt);
            ++counts[static_cast<int>(action)];
            if (action == FireAction::Shot) --ammo;
        }
        EXPECT_EQ(counts[static_cast<int>(FireAction::Shot)], c.shots) << c.weapon << " " << c.dt;
        EXPECT_EQ(counts[static_cast<int>(FireAction::Empty)], c.empties) << c.weapon;
    }
}

TEST(Arena, AVokaPastAWallComesBackWithItsHeadingMirrored) {
    struct Case {
        float x, y, heading, toX, toY, toHeading;
        int corrections;
    };
    const Case cases[] = {
        {10, 800, 30, 17, 800, 150, 1},
        {1590, 1590, 30, 1583, 1583, 210, 2},
        {10, 10, 30, 17, 17, -150, 2},
        {15, 1585, 30, 15, 1585, 30, 0},
    };
    for (const Case& c : cases) {
        Pose pose{c.x, c.y, 0, 0, 0, c.heading};
        int corrections = 0;
        for (auto next = arenaCorrection(pose); next && corrections < 3;
             next = arenaCorrection(pose)) {
            pose = *next;
            ++corrections;
        }
        EXPECT_EQ(corrections, c.corrections) << c.x << "," << c.y;
        EXPECT_EQ(std::vector<float>({pose.x, pose.y, pose.rotZ}),
                  std::vector<float>({c.toX, c.toY, c.toHeading}));
    }
}

TEST(Hit, ArmorAbsorbsFirstAndTheVictimDecidesTheKill) {
    struct Case {
        std::int32_t projectile;
        bool onOwnVoka, alive;
        Condition before;
        HitOutcome outcome;
        Condition after;
    };
    const Case cases[] = {
        {TYPE_BULLET_MG, true, true, {100, 2}, HitOutcome::Damaged, {98, 0}},
        {TYPE_BULLET_RAIL, true, true, {30, 0}, HitOutcome::Killed, {0, 0}},
        {TYPE_BULLET_RAIL, true, true, {100, 100}, HitOutcome::Damaged, {70, 40}},
        // Another player hit, a Voka already down, a shot the World never held.
        {TYPE_BULLET_RAIL, false, true, {30, 0}, HitOutcome::Unharmed, {30, 0}},
        {TYPE_BULLET_RAIL, true, false, {30, 0}, HitOutcome::Unharmed, {30, 0}},
        {-1, true, true, {30, 0}, HitOutcome::Unharmed, {30, 0}},
    };
    for (const Case& c : cases) {
        const HitVerdict verdict = judgeHit(c.projectile, c.onOwnVoka, c.alive, c.before);
        EXPECT_EQ(verdict.outcome, c.outcome) << c.before.health << "/" << c.before.armor;
        EXPECT_EQ(std::make_pair(verdict.after.health, verdict.after.armor),
                  std::make_pair(c.after.health, c.after.armor));
    }
    EXPECT_TRUE(isOwnFrag(0x00030001, 0x00030001));
    EXPECT_FALSE(isOwnFrag(0x00040001, 0x00030001));
    EXPECT_FALSE(isOwnFrag(-1, -1));  // without a client number nobody can name us
}

TEST(Ranking, MostFragsFirstAndTheOwnRowAlwaysThere) {
    const auto alone = rankingRows(rankPlayers({}, {4, "me"}));
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_EQ(alone[0].place + " " + alone[0].name + " " + alone[0].frags, "1 me 4");
    const auto rows = rankingRows(rankPlayers({{2, "kim"}, {5, "ada"}, {7, "lou"}}, {2, "me"}));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].name + rows[1].name, "louada");
    // Equal frags stand in either order.
    EXPECT_TRUE(rows[2].name + rows[3].name == "kimme" || rows[2].name + rows[3].name == "mekim");
    EXPECT_EQ(rows[3].place + " " + rows[3].frags, "4 2");
    EXPECT_NEAR(rows[3].y, 0.5f, 1e-6f);
}

TEST(Names, AnnouncedNamesAreCutCleanedAndReportedOnce) {
    const std::uint8_t kim[8] = {'K', 'i', 'm', 0, 'x', 'x', 'x', 'x'};
    const std::uint8_t full[8] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'};
    const std::uint8_t escape[8] = {0x1b, '[', '2', 'J', 0xE4, 0, 0, 0};
    EXPECT_EQ(announcedName(kim, 8), "Kim");
    EXPECT_EQ(announcedName(full, 8), "ABCDEFGH");
    EXPECT_EQ(announcedName(escape, 8), "?[2J?");

    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    std::string stored;
    for (const char* name : {"Kim", "Kim", "Ada"}) adoptName(stored, name, out);
    std::fclose(out);
    EXPECT_EQ(std::string(text, size), "Kim connected...\nAda connected...\n");
    std::free(text);
}

TEST(MouseLook, TheOffsetFromTheCentreOverFiftyTimesTheSensitivity) {
    struct Case {
        int x, y;
        MouseLookSettings settings;
        std::optional<LookTurn> turn;
    };
    const Case cases[] = {
        {400, 300, {800, 600, 5, false}, std::nullopt},
        {401, 300, {800, 600, 1, false}, LookTurn{-0.02f, 0.0f}},  // a slow hand still turns
        {390, 290, {800, 600, 5, false}, LookTurn{1.0f, 1.0f}},
        {390, 290, {800, 600, 5, true}, LookTurn{1.0f, -1.0f}},
    };
    for (const Case& c : cases) {
        const auto turn = lookTurn(c.x, c.y, c.settings);
        ASSERT_EQ(turn.has_value(), c.turn.has_value()) << c.x << "," << c.y;
        if (!turn) continue;
        EXPECT_EQ(std::make_pair(turn->yaw, turn->pitch),
                  std::make_pair(c.turn->yaw, c.turn->pitch));
    }
    const LookTurn back = centreViewTurn(35.0f, -12.5f);
    EXPECT_EQ(std::make_pair(back.yaw, back.pitch), std::make_pair(-35.0f, 12.5f));
}

}  // namespace
