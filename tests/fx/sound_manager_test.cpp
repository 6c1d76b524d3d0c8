// The sound manager, heard through SDL's disk audio driver.
#include "fx/sound_manager.h"

#include "sound_fixture.h"

namespace {

// A rising ramp of 0.4 s: a restart shows as a drop back to its start.
std::vector<std::int16_t> ramp() {
    std::vector<std::int16_t> samples;
    for (int i = 0; i < 17640; ++i) samples.push_back(static_cast<std::int16_t>(100 + i));
    return samples;
}

int drops(const std::vector<std::int16_t>& mix) {
    int count = 0;
    for (std::size_t i = 1; i < mix.size(); ++i)
        if (mix[i] != 0 && mix[i] < mix[i - 1]) ++count;
    return count;
}

// Sound off is heard through a menu key event in the screens' tests.
TEST_F(SoundTest, PlayedSampleIsHeard) {
    open();
    EXPECT_EQ(SoundManager::play(Sample::MenuKey, false, 255, false), 0);
    waitUntilQuiet(Sample::MenuKey);
    EXPECT_GT(loudSamples(closeAndListen()), 2000);
}

// A sample asked again while playing restarts only when the caller allows it.
TEST_F(SoundTest, SampleAskedAgainWhilePlayingRestartsOnlyIfAllowed) {
    for (const bool restart : {false, true}) {
        writeSample(Sample::Rail, ramp());
        open();
        SoundManager::play(Sample::Rail, false, 255, restart);
        waitForMixing();
        SoundManager::play(Sample::Rail, false, 255, restart);
        waitUntilQuiet(Sample::Rail);
        const auto mix = closeAndListen();
        EXPECT_EQ(drops(mix), restart ? 1 : 0);
        if (restart)
            EXPECT_GT(loudSamples(mix), 17640 + 2000);
        else
            EXPECT_NEAR(loudSamples(mix), 17640, 100);  // played once: 0.4 s of ramp
    }
}

TEST_F(SoundTest, VolumeScalesTheSample) {
    writeSample(Sample::Hit, std::vector<std::int16_t>(8820, 10000));
    open();
    SoundManager::play(Sample::Hit, false, 51, false);  // a fifth
    waitUntilQuiet(Sample::Hit);
    const auto mix = closeAndListen();
    std::int16_t loudest = 0;
    for (const std::int16_t s : mix) loudest = std::max(loudest, s);
    EXPECT_NEAR(loudest, 10000 * mixerVolume(51) / 128, 2);
}

TEST_F(SoundTest, MissingSampleFailsOnlyItsOwnPlay) {
    std::remove(dir.file(SoundManager::sampleFile(Sample::Hit)).c_str());
    testing::internal::CaptureStderr();
    open();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("sound: cannot load ./sound/misc/hit.wav"), std::string::npos) << said;
    EXPECT_EQ(SoundManager::play(Sample::Hit, false, 255, false), -1);
    EXPECT_EQ(SoundManager::play(Sample::Explode, false, 255, false), 0);
    EXPECT_EQ(SoundManager::play(99, false, 255, false), 0);  // no such sample
}

TEST_F(SoundTest, WithoutAnAudioDeviceTheGameSaysSoOnceAndStaysSilent) {
    testing::internal::CaptureStderr();
    open("no-such-driver");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find("sound: no audio device"), 0u) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line only: " << said;
    ASSERT_NE(SoundManager::instance(), nullptr);
    EXPECT_FALSE(SoundManager::instance()->hasDevice());
    EXPECT_EQ(SoundManager::play(Sample::MenuKey, false, 255, false), -1);
    SoundManager::setVolume(Sample::EngineLow, 100);
}

TEST(SoundManagerVolume, GameVolumesMapOntoTheMixerRange) {
    EXPECT_EQ(mixerVolume(0), 0);
    EXPECT_EQ(mixerVolume(-40), 0);
    EXPECT_EQ(mixerVolume(255), MIX_MAX_VOLUME);
    EXPECT_EQ(mixerVolume(400), MIX_MAX_VOLUME);
    EXPECT_EQ(mixerVolume(160), 80);
    EXPECT_EQ(mixerVolume(1), 1);
}

}  // namespace
