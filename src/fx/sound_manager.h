#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "net/protocol/game_codes.h"

struct Mix_Chunk;

// The game's fourteen sound effects on SDL2_mixer. Each sample has a fixed number and
// always plays on the mixer channel of that number, so a sound never overlaps itself:
// asked again it either restarts on its channel or leaves the running one alone.
// Everything is gated by the `sound` setting. Main thread only.
class SoundManager {
  public:
    static constexpr std::int32_t kSampleCount = Sample::Count;
    static constexpr std::int32_t kMaxVolume = 255;

    // File of each sample, by number (paths relative to the game directory).
    static const char* sampleFile(std::int32_t id);

    // Opens the audio device and loads every sample from the working directory. When no
    // device can be opened the game says so once on standard error and stays silent; a
    // sample that fails to load is named on standard error and only its own play fails.
    static void create();
    // Frees the samples and closes the device (also done at process exit).
    static void destroy();
    static SoundManager* instance() { return s_instance.get(); }

    // Plays sample `id` on its channel at `volume` (0 to 255), looping when asked. A
    // sample still playing is restarted only with `restart`. Does nothing and returns 0
    // while `sound` is off, before create(), or for an unknown id; -1 when the mixer
    // cannot start the sample.
    static int play(std::int32_t id, bool loop, std::int32_t volume, bool restart);
    // Sets the volume of channel `id`; a negative volume becomes 0, one above 255 is held
    // at 255. Not gated by `sound`.
    static void setVolume(std::int32_t id, std::int32_t volume);

    ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    bool hasDevice() const { return deviceOpen_; }
    int playSample(std::int32_t id, bool loop, std::int32_t volume, bool restart);
    void setSampleVolume(std::int32_t id, std::int32_t volume);

  private:
    SoundManager();
    void loadSample(std::int32_t id);

    struct ChunkDeleter {
        void operator()(Mix_Chunk* chunk) const;
    };

    bool deviceOpen_ = false;
    std::array<std::unique_ptr<Mix_Chunk, ChunkDeleter>, kSampleCount> samples_;
    std::array<bool, kSampleCount> loop_{};

    static inline std::unique_ptr<SoundManager> s_instance;
};

// The mixer's volume (0 to 128) for a game volume of 0 to 255, rounded.
int mixerVolume(std::int32_t volume);
