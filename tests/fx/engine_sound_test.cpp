// The engine's three bands, as numbers and as heard.
#include "fx/engine_sound.h"

#include <algorithm>

#include "sound_fixture.h"

namespace {

// Each band a steady level of its own, so the mix tells which bands play how loud.
constexpr std::int16_t kLow = 4000;
constexpr std::int16_t kMiddle = 6000;
constexpr std::int16_t kHigh = 8000;

struct SpeedCase {
    std::int32_t speed;
    EngineVolumes volumes;
};

class EngineHeard : public SoundTest, public ::testing::WithParamInterface<SpeedCase> {
  protected:
    void SetUp() override {
        SoundTest::SetUp();
        writeSample(Sample::EngineLow, std::vector<std::int16_t>(22050, kLow));
        writeSample(Sample::EngineMiddle, std::vector<std::int16_t>(22050, kMiddle));
        writeSample(Sample::EngineHigh, std::vector<std::int16_t>(22050, kHigh));
    }

    // The level at the end of the mix, after the update has taken effect.
    std::int16_t finalLevel() const {
        const auto mix = closeAndListen();
        EXPECT_GT(mix.size(), 4000u);
        if (mix.size() < 4000) return 0;
        std::vector<std::int16_t> tail(mix.end() - 2000, mix.end());
        std::sort(tail.begin(), tail.end());
        return tail[tail.size() / 2];
    }

    static int heard(std::int16_t level, std::int32_t volume) {
        return level * mixerVolume(std::max(volume, 0)) / MIX_MAX_VOLUME;
    }
};

TEST_P(EngineHeard, BandsCrossFadeWithSpeed) {
    const std::int32_t speed = GetParam().speed;
    const EngineVolumes v = engineVolumes(speed);
    const EngineVolumes want = GetParam().volumes;
    // Negative values are silence.
    EXPECT_EQ(std::max(v.low, 0), std::max(want.low, 0));
    EXPECT_EQ(std::max(v.middle, 0), std::max(want.middle, 0));
    EXPECT_EQ(std::max(v.high, 0), std::max(want.high, 0));
    open();
    updateEngineSound(speed);
    waitForMixing();
    const int expected =
        heard(kLow, want.low) + heard(kMiddle, want.middle) + heard(kHigh, want.high);
    EXPECT_NEAR(finalLevel(), expected, 3) << "at " << speed << " km/h";
}

INSTANTIATE_TEST_SUITE_P(Speeds, EngineHeard,
                         ::testing::Values(SpeedCase{0, {160, 0, 0}}, SpeedCase{40, {80, 80, 0}},
                                           SpeedCase{75, {10, 150, 0}}, SpeedCase{76, {8, 168, 0}},
                                           SpeedCase{80, {0, 160, 0}}, SpeedCase{120, {0, 80, 80}},
                                           SpeedCase{160, {0, 0, 160}}, SpeedCase{200, {0, 0, 240}},
                                           SpeedCase{-20, {200, 0, 0}}));

TEST_F(EngineHeard, SoundOffHoldsRunningLoopsSilentAndNeverStartsThem) {
    open();
    updateEngineSound(40);
    waitForMixing();
    Settings::setSound(false);
    updateEngineSound(40);
    waitForMixing();
    EXPECT_EQ(finalLevel(), 0);
    open();
    updateEngineSound(100);
    waitForMixing();
    EXPECT_EQ(loudSamples(closeAndListen()), 0);
}

}  // namespace
