#include "app/autopilot.h"

#include "net/match/world.h"
#include "world/terrain.h"

Autopilot::Autopilot(std::int32_t skill, std::uint32_t seed)
    : pilot_(PilotSkill::ofLevel(skill), seed),
      ground_([](float x, float y) { return Terrain::instance().terrainHeight(x, y); }) {}

WorldInput Autopilot::read(World& world, float frameTime) {
    deadSince_ = -1.0f;
    const PilotCommand command = pilot_.fly(viewOf(world.core(), ground_), frameTime);
    PlayerRecord& player = world.core().player();
    if (command.weapon != player.getWeapon()) {
        player.setWeapon(command.weapon);
        world.announceState();
    }
    WorldInput input;
    static_cast<DriverInput&>(input) = command.input;
    return input;
}

bool Autopilot::respawnNow(float nowSeconds) {
    if (deadSince_ < 0.0f) deadSince_ = nowSeconds;
    if (nowSeconds - deadSince_ < kRespawnSeconds) return false;
    deadSince_ = -1.0f;
    return true;
}
