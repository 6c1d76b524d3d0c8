#pragma once

#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <memory>

#include "config/settings.h"
#include "fx/sound_manager.h"
#include "support/disk_audio.h"
#include "support/temp_dir.h"
#include "support/test_images.h"

// A sound manager playing into SDL's disk audio driver, with every sample a short
// steady tone unless a test writes its own. `Base` is the test's own fixture (a window,
// for the head-up display that drives the engine).
template <class Base>
class SoundFixture : public Base {
  protected:
    using DiskAudio = testing_support::DiskAudio;

    void SetUp() override {
        Base::SetUp();
        Settings::resetStartValues();
        Settings::setSound(true);
        for (std::int32_t id = 0; id < SoundManager::kSampleCount; ++id)
            writeSample(id, std::vector<std::int16_t>(4410, 3000));
    }

    void TearDown() override {
        audio.reset();
        Settings::resetStartValues();
        Base::TearDown();
    }

    // Mono 16-bit samples at the mixing rate, written under the sample's file name.
    void writeSample(std::int32_t id, const std::vector<std::int16_t>& samples) const {
        testing_support::writeFile(dir.file(SoundManager::sampleFile(id)),
                                   testing_support::wavFile(samples));
    }

    void open(const char* driver = "disk") {
        audio.reset();  // its destructor clears the driver settings
        audio = std::make_unique<DiskAudio>(dir.file("mix.raw"), driver);
        testing_support::ScopedWorkingDir inGameDir(dir.path());
        SoundManager::create();
    }

    // Enough mixing for a change to be heard in the last 2000 frames (0.05 s).
    void waitForMixing() const { audio->waitForMoreAudio(5000); }

    testing_support::TempDir dir;
    std::unique_ptr<DiskAudio> audio;
};

using SoundTest = SoundFixture<::testing::Test>;
