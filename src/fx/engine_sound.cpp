#include "fx/engine_sound.h"

#include "config/settings.h"
#include "fx/sound_manager.h"

EngineVolumes engineVolumes(std::int32_t speedKmh) {
    const std::int32_t v = speedKmh;
    return {160 - 2 * v, v <= 75 ? 2 * v : 320 - 2 * v, 2 * v - 160};
}

void updateEngineSound(std::int32_t speedKmh) {
    const EngineVolumes volumes = engineVolumes(speedKmh);
    SoundManager::play(Sample::EngineLow, true, 0, false);
    SoundManager::setVolume(Sample::EngineLow, volumes.low);
    SoundManager::play(Sample::EngineMiddle, true, 0, false);
    SoundManager::setVolume(Sample::EngineMiddle, volumes.middle);
    SoundManager::play(Sample::EngineHigh, true, 0, false);
    SoundManager::setVolume(Sample::EngineHigh, volumes.high);
    if (!Settings::getSound()) {
        SoundManager::setVolume(Sample::EngineLow, 0);
        SoundManager::setVolume(Sample::EngineMiddle, 0);
        SoundManager::setVolume(Sample::EngineHigh, 0);
    }
}
