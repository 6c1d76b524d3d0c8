#pragma once

#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "config/settings.h"
#include "fx/sound_manager.h"
#include "support/temp_dir.h"
#include "support/test_images.h"

// Runs the sound manager on SDL's disk audio driver, which writes the mix into a file
// in real time, so that a test can listen to what the game played.
class SoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Settings::resetStartValues();
        Settings::setSound(true);
        for (std::int32_t id = 0; id < SoundManager::kSampleCount; ++id)
            writeSample(id, std::vector<std::int16_t>(4410, 3000));
    }

    void TearDown() override {
        SoundManager::destroy();
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
        Settings::resetStartValues();
    }

    // Mono 16-bit samples at the mixing rate, written under the sample's file name.
    void writeSample(std::int32_t id, const std::vector<std::int16_t>& samples) const {
        testing_support::writeFile(dir.file(SoundManager::sampleFile(id)),
                                   testing_support::wavFile(samples));
    }

    void open(const char* driver = "disk") {
        setenv("SDL_AUDIODRIVER", driver, 1);
        setenv("SDL_DISKAUDIOFILE", dir.file("mix.raw").c_str(), 1);
        testing_support::ScopedWorkingDir inGameDir(dir.path());
        SoundManager::create();
        if (std::string(driver) != "disk") return;
        int rate = 0;
        Uint16 format = 0;
        int channels = 0;
        ASSERT_EQ(Mix_QuerySpec(&rate, &format, &channels), 1);
        ASSERT_EQ(format, AUDIO_S16LSB);
        ASSERT_EQ(channels, 2);
    }

    // Closes the device and returns the left channel of everything it played.
    std::vector<std::int16_t> closeAndListen() const {
        SoundManager::destroy();
        std::ifstream in(dir.file("mix.raw"), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        std::vector<std::int16_t> left;
        for (std::size_t i = 0; i + 3 < bytes.size(); i += 4)
            left.push_back(
                static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                          (static_cast<std::uint8_t>(bytes[i + 1]) << 8)));
        return left;
    }

    // Waits until the channel has played out (the disk driver runs in real time, and
    // slower on a loaded machine), at most five seconds.
    static void waitUntilQuiet(int channel) {
        for (int i = 0; i < 500 && Mix_Playing(channel) != 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    static int loudSamples(const std::vector<std::int16_t>& mix) {
        int loud = 0;
        for (const std::int16_t s : mix)
            if (s != 0) ++loud;
        return loud;
    }

    testing_support::TempDir dir;
};
