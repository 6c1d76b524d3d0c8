#include "support/disk_audio.h"

#include <SDL2/SDL_mixer.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "fx/sound_manager.h"

namespace testing_support {

DiskAudio::DiskAudio(const std::string& rawFile, const char* driver) : rawFile_(rawFile) {
    setenv("SDL_AUDIODRIVER", driver, 1);
    setenv("SDL_DISKAUDIOFILE", rawFile.c_str(), 1);
}

DiskAudio::~DiskAudio() {
    SoundManager::destroy();
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
}

std::vector<std::int16_t> DiskAudio::closeAndListen() const {
    SoundManager::destroy();
    std::ifstream in(rawFile_, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> left;
    for (std::size_t i = 0; i + 3 < bytes.size(); i += 4) {
        const auto low = static_cast<std::uint8_t>(bytes[i]);
        const auto high = static_cast<std::uint8_t>(bytes[i + 1]);
        left.push_back(static_cast<std::int16_t>(low | (high << 8)));
    }
    return left;
}

void DiskAudio::waitUntilQuiet(int channel) {
    for (int i = 0; i < 500 && Mix_Playing(channel) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void DiskAudio::waitForMoreAudio(std::size_t frames) const {
    const auto written = [&] {
        std::error_code error;
        const auto size = std::filesystem::file_size(rawFile_, error);
        return error ? 0 : static_cast<std::size_t>(size) / 4;  // 16-bit stereo
    };
    const std::size_t target = written() + frames;
    for (int i = 0; i < 10000 && written() < target; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

int DiskAudio::loudSamples(const std::vector<std::int16_t>& mix) {
    int loud = 0;
    for (const std::int16_t s : mix)
        if (s != 0) ++loud;
    return loud;
}

}  // namespace testing_support
