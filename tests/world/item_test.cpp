#include "world/item.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <vector>

#include "net/protocol/game_codes.h"
#include "platform/frame_clock.h"
#include "world/item_rules.h"

namespace {

using Values = std::array<std::int32_t, 4>;  // health, armor, machine gun, rail gun

// Items taken one after another in the same frame, each on the values the last one left:
// whether each is taken, with its sample, and the values at the end.
TEST(ItemRulesTest, ItemsFillUpToTheirLimitsAndStayWhenFull) {
    // before, items, samples (-1: the item stays), after
    const std::tuple<Values, std::vector<std::int32_t>, std::vector<std::int32_t>, Values>
        frames[] = {
            {{80, 0, 0, 0}, {ITEM_POWER25}, {Sample::Power25}, {100, 0, 0, 0}},
            {{100, 0, 0, 0}, {ITEM_POWER25}, {-1}, {100, 0, 0, 0}},
            {{86, 0, 0, 0}, {ITEM_POWER15}, {Sample::Power15}, {100, 0, 0, 0}},
            {{50, 0, 0, 16}, {ITEM_AMMO_RAIL}, {Sample::Ammo}, {50, 0, 0, 20}},
            {{50, 0, 0, 20}, {ITEM_AMMO_RAIL}, {-1}, {50, 0, 0, 20}},
            {{50, 0, 151, 0}, {ITEM_AMMO_MG}, {Sample::Ammo}, {50, 0, 200, 0}},
            {{50, 199, 0, 0}, {ITEM_AMOR_100}, {Sample::Armor100}, {50, 299, 0, 0}},  // no cap
            {{50, 200, 0, 0}, {ITEM_AMOR_50}, {-1}, {50, 200, 0, 0}},
            {{90, 0, 0, 0}, {ITEM_POWER25, ITEM_POWER25}, {Sample::Power25, -1}, {100, 0, 0, 0}},
            {{0, 0, 0, 0}, {TYPE_TERRAIN}, {-1}, {0, 0, 0, 0}}};
    for (const auto& [b, items, samples, after] : frames) {
        PlayerValues values{b[0], b[1], b[2], b[3]};
        for (std::size_t i = 0; i < items.size(); ++i) {
            const PickUp result = pickUp(items[i], values);
            EXPECT_EQ(std::pair(result.sample, result.taken),
                      std::pair(samples[i], samples[i] != -1))
                << b[0] << " " << items[i];
            values = result.values;
        }
        EXPECT_EQ((Values{values.health, values.armor, values.ammoMg, values.ammoRail}), after);
    }
}

// The light reaches the shadow code in the model's space (y up, a tenth of the size).
TEST(ItemTest, WorldToModelUndoesTheDrawTransform) {
    // spin seconds (at 80 degrees a second), light, light in the model's space
    const std::tuple<float, std::array<float, 4>, std::array<float, 4>> rows[] = {
        {0.0f, {10, 20, 41, 1}, {0, 1, 0, 1}},    // ten above: model up
        {0.0f, {20, 20, 31, 1}, {0, 0, -1, 1}},   // ten east, not turned
        {1.125f, {20, 20, 31, 1}, {1, 0, 0, 1}},  // ten east, turned a quarter
    };
    for (const auto& [spinSeconds, light, expected] : rows) {
        Item item(TYPE_TERRAIN, 10, 20, 30);
        FrameClock::reset();
        FrameClock::tick(spinSeconds);
        item.update();
        float got[4];
        item.worldToModel().transform(light.data(), got);
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], expected[i], 1e-5f) << i;
    }
    FrameClock::reset();
}

}  // namespace
