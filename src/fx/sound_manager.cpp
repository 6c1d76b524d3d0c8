#include "fx/sound_manager.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <algorithm>
#include <cstdio>

#include "config/settings.h"

namespace {

constexpr const char* kSampleFiles[SoundManager::kSampleCount] = {
    "./sound/Weapon/Rail/rail.wav", "./sound/Weapon/Minigun/minigun.wav",
    "./sound/Weapon/noammo.wav",    "./sound/item/powerup25.wav",
    "./sound/item/powerup25.wav",   "./sound/item/amor.wav",
    "./sound/item/amor.wav",        "./sound/item/ammo.wav",
    "./sound/misc/explode.wav",     "./sound/misc/hit.wav",
    "./sound/misc/brumm.mp3",       "./sound/misc/motor_2000.wav",
    "./sound/misc/motor_4000.wav",  "./sound/misc/motor_6000.wav",
};

// The order in which the samples are loaded; numbers sharing a file get a copy each.
constexpr std::int32_t kLoadOrder[SoundManager::kSampleCount] = {0, 1, 2, 7,  6,  5,  3,
                                                                 4, 8, 9, 10, 11, 12, 13};

constexpr int kMixRate = 44100;
constexpr int kMixChannels = 32;
constexpr int kChunkFrames = 1024;

bool validId(std::int32_t id) {
    return id >= 0 && id < SoundManager::kSampleCount;
}

}  // namespace

int mixerVolume(std::int32_t volume) {
    const int clamped = std::clamp(volume, 0, SoundManager::kMaxVolume);
    return (clamped * MIX_MAX_VOLUME + SoundManager::kMaxVolume / 2) / SoundManager::kMaxVolume;
}

const char* SoundManager::sampleFile(std::int32_t id) {
    return validId(id) ? kSampleFiles[id] : nullptr;
}

void SoundManager::ChunkDeleter::operator()(Mix_Chunk* chunk) const {
    Mix_FreeChunk(chunk);
}

SoundManager::SoundManager() {
    // SDL would otherwise turn SIGINT and SIGTERM into quit events nobody reads, and the
    // game could no longer be stopped from outside.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "sound: no audio device (%s); the game runs silently\n",
                     SDL_GetError());
        return;
    }
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(kMixRate, MIX_DEFAULT_FORMAT, 2, kChunkFrames) != 0) {
        std::fprintf(stderr, "sound: no audio device (%s); the game runs silently\n",
                     Mix_GetError());
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    deviceOpen_ = true;
    Mix_AllocateChannels(kMixChannels);
    for (std::int32_t id : kLoadOrder) loadSample(id);
}

SoundManager::~SoundManager() {
    if (!deviceOpen_) return;
    Mix_HaltChannel(-1);
    for (auto& sample : samples_) sample.reset();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SoundManager::loadSample(std::int32_t id) {
    SDL_RWops* file = SDL_RWFromFile(kSampleFiles[id], "rb");
    if (file != nullptr) samples_[id].reset(Mix_LoadWAV_RW(file, 1));
    if (!samples_[id])
        std::fprintf(stderr, "sound: cannot load %s (%s)\n", kSampleFiles[id], SDL_GetError());
}

void SoundManager::create() {
    if (!s_instance) s_instance.reset(new SoundManager());
}

void SoundManager::destroy() {
    s_instance.reset();
}

int SoundManager::playSample(std::int32_t id, bool loop, std::int32_t volume, bool restart) {
    if (!validId(id)) return 0;
    // The loop mode applies to the next start on the channel; a running sample keeps its
    // own.
    loop_[id] = loop;
    if (!deviceOpen_ || !samples_[id]) return -1;
    if (Mix_Playing(id) == 0 || restart) {
        Mix_Volume(id, mixerVolume(volume));
        if (Mix_PlayChannel(id, samples_[id].get(), loop_[id] ? -1 : 0) == -1) return -1;
    }
    return 0;
}

void SoundManager::setSampleVolume(std::int32_t id, std::int32_t volume) {
    if (deviceOpen_ && validId(id)) Mix_Volume(id, mixerVolume(volume));
}

int SoundManager::play(std::int32_t id, bool loop, std::int32_t volume, bool restart) {
    if (!Settings::getSound() || !s_instance) return 0;
    return s_instance->playSample(id, loop, volume, restart);
}

void SoundManager::setVolume(std::int32_t id, std::int32_t volume) {
    if (s_instance) s_instance->setSampleVolume(id, std::max(volume, 0));
}
