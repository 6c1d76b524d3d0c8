// The rules of the match that need neither a window nor a network: firing, the arena
// walls, hits and kills, the ranking, announced names and mouse look.
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

// --- Firing: the trigger held for a number of frames, the World's part played along
// (a shot takes a round).

struct FireCase {
    std::int32_t weapon;
    std::int32_t ammo;
    double dt;
    int frames;
    int shots;
    int empties;
};

class FireRule : public testing::TestWithParam<FireCase> {};

TEST_P(FireRule, ShotsAndEmptyClicksFollowTheWeaponsInterval) {
    const FireCase c = GetParam();
    FireTimer timer;
    std::int32_t ammo = c.ammo;
    int shots = 0;
    int empties = 0;
    for (int frame = 0; frame < c.frames; ++frame) {
        const FireAction action = timer.step(c.weapon, true, ammo, c.dt);
        shots += action == FireAction::Shot;
        empties += action == FireAction::Empty;
        if (action == FireAction::Shot) --ammo;
    }
    EXPECT_EQ(shots, c.shots);
    EXPECT_EQ(empties, c.empties);
}

INSTANTIATE_TEST_SUITE_P(
    Weapons, FireRule,
    testing::Values(
        // One second at 1000 frames a second: a shot every 0.15 s plus the reset frame.
        FireCase{WEAPON_MG, 200, 0.001, 1000, 7, 0},
        // Five seconds at 100 frames a second, two seconds apart.
        FireCase{WEAPON_RAIL, 10, 0.01, 500, 3, 0},
        // The empty click keeps the weapon's pace.
        FireCase{WEAPON_MG, 3, 0.001, 1000, 3, 4}, FireCase{WEAPON_RAIL, 0, 0.01, 500, 0, 3},
        // Frames faster than the millisecond clock still wait out the interval.
        FireCase{WEAPON_MG, 200, 0.0, 1000, 1, 0},
        // Weapon numbers without a rule fire nothing.
        FireCase{3, 200, 0.001, 1000, 0, 0}));

TEST(FireRule, AReleasedTriggerFiresNothingButTheTimerRunsOn) {
    FireTimer timer;
    EXPECT_EQ(timer.step(WEAPON_MG, false, 200, 0.1), FireAction::None);
    EXPECT_EQ(timer.step(WEAPON_MG, true, 200, 0.1), FireAction::Shot);
    for (int frame = 0; frame < 3; ++frame) timer.step(WEAPON_MG, false, 200, 0.1);
    EXPECT_EQ(timer.step(WEAPON_MG, true, 200, 0.1), FireAction::Shot);
    ASSERT_NE(weaponRule(WEAPON_RAIL), nullptr);
    EXPECT_EQ(weaponRule(WEAPON_RAIL)->projectileType, TYPE_BULLET_RAIL);
    EXPECT_EQ(weaponRule(WEAPON_MG)->shotSample, Sample::Minigun);
}

// --- Arena walls.

struct ArenaCase {
    Pose before;
    Pose after;
    int corrections;
};

class Arena : public testing::TestWithParam<ArenaCase> {};

TEST_P(Arena, AVokaPastAWallComesBackWithItsHeadingMirrored) {
    const ArenaCase c = GetParam();
    Pose pose = c.before;
    int corrections = 0;
    while (const auto next = arenaCorrection(pose)) {
        pose = *next;
        ASSERT_LE(++corrections, 2);
    }
    EXPECT_EQ(corrections, c.corrections);
    EXPECT_FLOAT_EQ(pose.x, c.after.x);
    EXPECT_FLOAT_EQ(pose.y, c.after.y);
    EXPECT_FLOAT_EQ(pose.rotZ, c.after.rotZ);
}

INSTANTIATE_TEST_SUITE_P(
    Walls, Arena,
    testing::Values(ArenaCase{{10, 800, 0, 0, 0, 30}, {17, 800, 0, 0, 0, 150}, 1},
                    ArenaCase{{800, 10, 0, 0, 0, 30}, {800, 17, 0, 0, 0, -30}, 1},
                    ArenaCase{{800, 1590, 0, 0, 0, 30}, {800, 1583, 0, 0, 0, -30}, 1},
                    ArenaCase{{1590, 800, 0, 0, 0, 30}, {1583, 800, 0, 0, 0, 150}, 1},
                    ArenaCase{{10, 10, 0, 0, 0, 30}, {17, 17, 0, 0, 0, -150}, 2},
                    ArenaCase{{15, 1585, 0, 0, 0, 30}, {15, 1585, 0, 0, 0, 30}, 0}));

// --- Hits, kills and frags.

struct HitCase {
    std::int32_t projectile;
    bool onOwnVoka;
    bool alive;
    Condition before;
    HitOutcome outcome;
    Condition after;
};

class Hit : public testing::TestWithParam<HitCase> {};

TEST_P(Hit, ArmorAbsorbsFirstAndTheVictimDecidesTheKill) {
    const HitCase c = GetParam();
    const HitVerdict verdict = judgeHit(c.projectile, c.onOwnVoka, c.alive, c.before);
    EXPECT_EQ(verdict.outcome, c.outcome);
    EXPECT_EQ(verdict.after.health, c.after.health);
    EXPECT_EQ(verdict.after.armor, c.after.armor);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, Hit,
    testing::Values(HitCase{TYPE_BULLET_MG, true, true, {100, 2}, HitOutcome::Damaged, {98, 0}},
                    HitCase{TYPE_BULLET_RAIL, true, true, {30, 0}, HitOutcome::Killed, {0, 0}},
                    HitCase{
                        TYPE_BULLET_RAIL, true, true, {100, 100}, HitOutcome::Damaged, {70, 40}},
                    HitCase{TYPE_BULLET_MG, true, true, {1, 0}, HitOutcome::Killed, {0, 0}},
                    // Another player hit, a Voka already down, a shot the World never held.
                    HitCase{TYPE_BULLET_RAIL, false, true, {30, 0}, HitOutcome::Unharmed, {30, 0}},
                    HitCase{TYPE_BULLET_RAIL, true, false, {30, 0}, HitOutcome::Unharmed, {30, 0}},
                    HitCase{-1, true, true, {30, 0}, HitOutcome::Unharmed, {30, 0}}));

TEST(Frags, OnlyAKillNamingTheOwnVokaAsShooterCounts) {
    EXPECT_TRUE(isOwnFrag(0x00030001, 0x00030001));
    EXPECT_FALSE(isOwnFrag(0x00040001, 0x00030001));
    EXPECT_FALSE(isOwnFrag(-1, -1));  // no client number: nobody can name us
}

// --- Ranking.

std::vector<std::string> namesOf(const std::vector<RankingEntry>& ranked) {
    std::vector<std::string> names;
    for (const auto& entry : ranked) names.push_back(entry.name);
    return names;
}

TEST(Ranking, MostFragsFirstAndTheOwnRowAlwaysThere) {
    const auto alone = rankingRows(rankPlayers({}, {4, "me"}));
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_EQ(alone[0].place + " " + alone[0].name + " " + alone[0].frags, "1 me 4");
    EXPECT_FLOAT_EQ(alone[0].y, 0.8f);

    const auto ranked = rankPlayers({{2, "kim"}, {5, "ada"}, {7, "lou"}}, {2, "me"});
    const auto names = namesOf(ranked);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 2),
              (std::vector<std::string>{"lou", "ada"}));
    // Equal frags in either order.
    EXPECT_TRUE((names[2] == "kim" && names[3] == "me") || (names[2] == "me" && names[3] == "kim"));
    const auto rows = rankingRows(ranked);
    EXPECT_EQ(rows[3].place, "4");
    EXPECT_EQ(rows[1].frags, "5");
    EXPECT_NEAR(rows[3].y, 0.5f, 1e-6f);
}

// --- Names.

TEST(Names, AnnouncedNamesAreCutCleanedAndReportedOnce) {
    const std::uint8_t kim[8] = {'K', 'i', 'm', 0, 'x', 'x', 'x', 'x'};
    const std::uint8_t full[8] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'};
    const std::uint8_t escape[8] = {0x1b, '[', '2', 'J', 0xE4, 0, 0, 0};
    EXPECT_EQ(announcedName(kim, 8), "Kim");
    EXPECT_EQ(announcedName(full, 8), "ABCDEFGH");
    EXPECT_EQ(announcedName(escape, 8), "?[2J?");
    EXPECT_EQ(announcedName(full, 3), "ABC");

    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    std::string stored;
    EXPECT_TRUE(adoptName(stored, "Kim", out));
    EXPECT_FALSE(adoptName(stored, "Kim", out));
    EXPECT_TRUE(adoptName(stored, "Ada", out));
    std::fclose(out);
    EXPECT_EQ(std::string(text, size), "Kim connected...\nAda connected...\n");
    std::free(text);
}

// --- Mouse look.

struct LookCase {
    int x;
    int y;
    MouseLookSettings settings;
    std::optional<LookTurn> turn;
};

class MouseLook : public testing::TestWithParam<LookCase> {};

TEST_P(MouseLook, TheOffsetFromTheCentreOverFiftyTimesTheSensitivity) {
    const LookCase c = GetParam();
    const auto turn = lookTurn(c.x, c.y, c.settings);
    ASSERT_EQ(turn.has_value(), c.turn.has_value());
    if (!turn) return;
    EXPECT_FLOAT_EQ(turn->yaw, c.turn->yaw);
    EXPECT_FLOAT_EQ(turn->pitch, c.turn->pitch);
}

INSTANTIATE_TEST_SUITE_P(
    Cursor, MouseLook,
    testing::Values(LookCase{400, 300, {800, 600, 5, false}, std::nullopt},
                    // A slow hand: one pixel is a fiftieth of a step, not nothing.
                    LookCase{401, 300, {800, 600, 1, false}, LookTurn{-0.02f, 0.0f}},
                    LookCase{390, 290, {800, 600, 5, false}, LookTurn{1.0f, 1.0f}},
                    LookCase{390, 290, {800, 600, 5, true}, LookTurn{1.0f, -1.0f}},
                    // The centre of an odd window rounds down.
                    LookCase{400, 300, {801, 601, 5, false}, std::nullopt}));

TEST(MouseLook, CentreViewTurnsBackToStraightAhead) {
    const LookTurn turn = centreViewTurn(35.0f, -12.5f);
    EXPECT_FLOAT_EQ(35.0f + turn.yaw, 0.0f);
    EXPECT_FLOAT_EQ(-12.5f + turn.pitch, 0.0f);
}

}  // namespace
