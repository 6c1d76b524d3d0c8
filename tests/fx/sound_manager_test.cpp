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

// A missing sample fails only its own play. Without an audio device the game says so
// once and stays silent.
TEST_F(SoundTest, MissingSampleOrDeviceIsSaidAndFailsOnlyWhatItMust) {
    std::remove(dir.file(SoundManager::sampleFile(Sample::Hit)).c_str());
    for (const bool device : {true, false}) {
        testing::internal::CaptureStderr();
        open(device ? "disk" : "no-such-driver");
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(device ? "sound: cannot load ./sound/misc/hit.wav"
                                   : "sound: no audio device"),
                  std::string::npos)
            << said;
        EXPECT_TRUE(device || said.find('\n') == said.size() - 1) << "one line only: " << said;
        ASSERT_NE(SoundManager::instance(), nullptr);
        EXPECT_EQ(SoundManager::instance()->hasDevice(), device);
        EXPECT_EQ(SoundManager::play(Sample::Hit, false, 255, false), -1);
        EXPECT_EQ(SoundManager::play(Sample::Explode, false, 255, false), device ? 0 : -1);
        EXPECT_EQ(SoundManager::play(99, false, 255, false), 0);  // no such sample
        SoundManager::setVolume(Sample::EngineLow, 100);
    }
}

TEST(SoundManagerVolume, GameVolumesOutsideTheRangeAreClamped) {
    const std::pair<int, int> cases[] = {{0, 0}, {-40, 0}, {1, 1}, {255, 128}, {400, 128}};
    for (const auto& [game, mixer] : cases) EXPECT_EQ(mixerVolume(game), mixer) << game;
}

}  // namespace
