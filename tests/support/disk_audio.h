#pragma once

#include <SDL2/SDL_mixer.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "fx/sound_manager.h"
#include "platform/clock.h"
#include "support/temp_dir.h"

namespace testing_support {

// Points SDL's audio at its disk driver, which writes the mix (16-bit stereo) into a
// file in real time, so that a test can listen to what the game played. The sound
// manager created while this lives plays into `rawFile`; the destructor destroys it.
class DiskAudio {
  public:
    explicit DiskAudio(const std::string& rawFile, const char* driver = "disk")
        : rawFile_(rawFile) {
        setenv("SDL_AUDIODRIVER", driver, 1);
        setenv("SDL_DISKAUDIOFILE", rawFile.c_str(), 1);
    }
    ~DiskAudio() {
        SoundManager::destroy();
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
    }
    DiskAudio(const DiskAudio&) = delete;
    DiskAudio& operator=(const DiskAudio&) = delete;

    // Destroys the sound manager (closing the device) and returns the left channel of
    // everything it played.
    std::vector<std::int16_t> closeAndListen() const {
        SoundManager::destroy();
        const std::string bytes = readFile(rawFile_);
        std::vector<std::int16_t> left(bytes.size() / 4);
        for (std::size_t i = 0; i < left.size(); ++i) std::memcpy(&left[i], &bytes[4 * i], 2);
        return left;
    }
    // Waits until a mixer channel has played out, at most five seconds: the disk driver
    // runs in real time, and slower on a loaded machine.
    static void waitUntilQuiet(int channel) {
        for (int i = 0; i < 500 && Mix_Playing(channel) != 0; ++i) platform::sleepMs(10);
    }
    // Waits until the driver has written `frames` more frames than it had when called,
    // at most ten seconds. A change made before the call (a volume, a sample started)
    // is heard in all but the first two mixing buffers of them.
    void waitForMoreAudio(std::size_t frames) const {
        const auto written = [&] {  // 16-bit stereo: four bytes a frame
            std::error_code error;
            const auto size = std::filesystem::file_size(rawFile_, error);
            return error ? 0 : size / 4;
        };
        const std::size_t target = written() + frames;
        for (int i = 0; i < 10000 && written() < target; ++i) platform::sleepMs(1);
    }
    static int loudSamples(const std::vector<std::int16_t>& mix) {
        return static_cast<int>(mix.size()) -
               static_cast<int>(std::count(mix.begin(), mix.end(), 0));
    }

  private:
    std::string rawFile_;
};

}  // namespace testing_support
