// The sound manager, heard through SDL's disk audio driver. A sample played, and sound
// off, are heard through a menu key event in the screens' tests; volumes through the
// engine's bands.
#include "fx/sound_manager.h"

#include <cstdlib>

#include "sound_fixture.h"

namespace {

// A sample of 0.4 s asked again while playing restarts only when the caller allows it.
TEST_F(SoundTest, SampleAskedAgainWhilePlayingRestartsOnlyIfAllowed) {
    for (const bool restart : {false, true}) {
        writeSample(Sample::Rail, std::vector<std::int16_t>(17640, 3000));
        open();
        SoundManager::play(Sample::Rail, false, 255, restart);
        waitForMixing();
        SoundManager::play(Sample::Rail, false, 255, restart);
        DiskAudio::waitUntilQuiet(Sample::Rail);
        const int loud = DiskAudio::loudSamples(audio->closeAndListen());
        // Played once: 0.4 s of sound.
        EXPECT_TRUE(restart ? loud > 17640 + 2000 : std::abs(loud - 17640) <= 100) << loud;
    }
}

TEST_F(SoundTest, MissingSampleFailsOnlyItsOwnPlay) {
    std::remove(dir.file(SoundManager::sampleFile(Sample::Hit)).c_str());
    testing::internal::CaptureStderr();
    open();
    EXPECT_NE(
        testing::internal::GetCapturedStderr().find("sound: cannot load ./sound/misc/hit.wav"),
        std::string::npos);
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

TEST(SoundManagerVolume, GameVolumesOutsideTheRangeAreClamped) {
    const std::pair<int, int> cases[] = {{0, 0}, {-40, 0}, {1, 1}, {255, 128}, {400, 128}};
    for (const auto& [game, mixer] : cases) EXPECT_EQ(mixerVolume(game), mixer) << game;
}

}  // namespace
