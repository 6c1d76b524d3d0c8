#include "fx/engine_sound.h"

#include "config/settings.h"
#include "fx/sound_manager.h"

EngineVolumes engineVolumes(std::int32_t speedKmh) {
    const std::int32_t v = speedKmh;
    return {160 - 2 * v, v <= 75 ? 2 * v : 320 - 2 * v, 2 * v - 160};
}

void updateEngineSound(std::int32_t speedKmh) {
    const EngineVolumes volumes = engineVolumes(speedKmh);
    SoundManager::play(SoundManager::kEngineLow, true, 0, false);
    SoundManager::setVolume(SoundManager::kEngineLow, volumes.low);
    SoundManager::play(SoundManager::kEngineMiddle, true, 0, false);
    SoundManager::setVolume(SoundManager::kEngineMiddle, volumes.middle);
    SoundManager::play(SoundManager::kEngineHigh, true, 0, false);
    SoundManager::setVolume(SoundManager::kEngineHigh, volumes.high);
    if (!Settings::getSound()) {
        SoundManager::setVolume(SoundManager::kEngineLow, 0);
        SoundManager::setVolume(SoundManager::kEngineMiddle, 0);
        SoundManager::setVolume(SoundManager::kEngineHigh, 0);
    }
}
