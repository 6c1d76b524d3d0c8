#include "world/item.h"

#include <gtest/gtest.h>

#include <vector>

#include "net/protocol/game_codes.h"
#include "platform/frame_clock.h"
#include "world/item_rules.h"

namespace {

// One pick-up after another in the same frame, each on the values the last one left.
struct Take {
    std::int32_t item;
    bool taken;
    PlayerValues after;
    std::int32_t sample;
};

struct Frame {
    const char* name;
    PlayerValues before;
    std::vector<Take> takes;
};

TEST(ItemRulesTest, ItemsFillUpToTheirLimitsAndStayWhenFull) {
    const Frame frames[] = {
        {"75 health and 25 more", {75, 0, 0, 0}, {{ITEM_POWER25, true, {100, 0, 0, 0}, 3}}},
        {"80 health: capped at 100", {80, 0, 0, 0}, {{ITEM_POWER25, true, {100, 0, 0, 0}, 3}}},
        {"full health: the item stays",
         {100, 0, 0, 0},
         {{ITEM_POWER25, false, {100, 0, 0, 0}, -1}}},
        {"15 health more from 86", {86, 0, 0, 0}, {{ITEM_POWER15, true, {100, 0, 0, 0}, 4}}},
        {"rail 15 + 5", {50, 0, 0, 15}, {{ITEM_AMMO_RAIL, true, {50, 0, 0, 20}, 7}}},
        {"rail 16: capped at 20", {50, 0, 0, 16}, {{ITEM_AMMO_RAIL, true, {50, 0, 0, 20}, 7}}},
        {"rail 20: the item stays", {50, 0, 0, 20}, {{ITEM_AMMO_RAIL, false, {50, 0, 0, 20}, -1}}},
        {"machine gun 151: capped at 200",
         {50, 0, 151, 0},
         {{ITEM_AMMO_MG, true, {50, 0, 200, 0}, 7}}},
        {"armor has no cap", {50, 199, 0, 0}, {{ITEM_AMOR_100, true, {50, 299, 0, 0}, 6}}},
        {"armor 200: refused", {50, 200, 0, 0}, {{ITEM_AMOR_50, false, {50, 200, 0, 0}, -1}}},
        {"two health items at 90: the second stays",
         {90, 0, 0, 0},
         {{ITEM_POWER25, true, {100, 0, 0, 0}, 3}, {ITEM_POWER25, false, {100, 0, 0, 0}, -1}}},
        {"an unknown code is never taken", {0, 0, 0, 0}, {{TYPE_TERRAIN, false, {0, 0, 0, 0}, -1}}},
    };
    for (const Frame& frame : frames) {
        SCOPED_TRACE(frame.name);
        PlayerValues values = frame.before;
        for (const Take& take : frame.takes) {
            const PickUp result = pickUp(take.item, values);
            EXPECT_EQ(result.taken, take.taken);
            EXPECT_EQ(result.sample, take.sample);
            EXPECT_EQ(result.values.health, take.after.health);
            EXPECT_EQ(result.values.armor, take.after.armor);
            EXPECT_EQ(result.values.ammoMg, take.after.ammoMg);
            EXPECT_EQ(result.values.ammoRail, take.after.ammoRail);
            values = result.values;
        }
    }
}

// The light reaches the shadow code in the model's space (y up, a tenth of the size).
TEST(ItemTest, WorldToModelUndoesTheDrawTransform) {
    const struct {
        const char* name;
        float spinSeconds;  // at 80 degrees a second
        float light[4];
        float expected[4];
    } rows[] = {
        {"ten above: model up", 0.0f, {10, 20, 41, 1}, {0, 1, 0, 1}},
        {"ten east, not turned", 0.0f, {20, 20, 31, 1}, {0, 0, -1, 1}},
        {"ten east, turned a quarter", 1.125f, {20, 20, 31, 1}, {1, 0, 0, 1}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Item item(TYPE_TERRAIN, 10, 20, 30);
        FrameClock::reset();
        FrameClock::tick(row.spinSeconds);
        item.update();
        float got[4];
        item.worldToModel().transform(row.light, got);
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], row.expected[i], 1e-5f) << i;
    }
    FrameClock::reset();
}

TEST(ItemTest, SpinWrapsAtAFullTurn) {
    FrameClock::reset();
    FrameClock::tick(4.6f);  // 368 degrees
    Item item;
    item.update();
    EXPECT_NEAR(item.getSpinAngle(), 8.0f, 1e-3f);
    FrameClock::reset();
}

}  // namespace
