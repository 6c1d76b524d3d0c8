// The world's part of the match frame, on the main thread with the camera's view on the
// modelview matrix.
#include "combat/bullet.h"
#include "combat/voka.h"
#include "config/settings.h"
#include "fx/hit_flash.h"
#include "fx/lens_flare.h"
#include "net/match/world.h"
#include "net/player_status.h"
#include "render/frustum.h"
#include "world/item.h"
#include "world/sky.h"
#include "world/terrain.h"

void World::draw(const Pose& camera) {
    Frustum::instance().extract();
    const float light[4] = {sunPosition_[0], sunPosition_[1], sunPosition_[2], 1.0f};
    Terrain::instance().draw(camera, light);
    // The sky after the ground: it lies behind everything on the map, so the picture is
    // the same as drawing it first, and the depth test spares texturing the dome where
    // the ground covers it.
    if (sky_) sky_->draw(camera, light);
    if (Settings::getLensflare()) drawLensFlare(camera);
    if (ownVoka_) ownVoka_->draw(camera, light);
    // What is drawn is the main thread's own, brought in line with the match by update:
    // no lock is needed.
    for (auto& [id, item] : items_)
        if (item->isTaken() == 0) item->draw(camera, light);
    for (auto& [id, voka] : players_) voka.drawn->draw(camera, light);
    for (auto& [id, shot] : ownShots_) shot.drawn->draw(camera, light);
    for (auto& [id, shot] : remoteShots_) shot.drawn->draw(camera, light);
    beams_.drawAll(camera, light);
    fence_.drawAll(camera, light);
    drawHitFlash();
}

void World::drawLensFlare(const Pose& camera) {
    if (!lensFlare_) lensFlare_ = std::make_unique<LensFlare>();
    float aim[4];
    PlayerStatus::getAim(aim);
    lensFlare_->draw({sunPosition_[0], sunPosition_[1], sunPosition_[2]},
                     {camera.x, camera.y, camera.z}, {aim[0], aim[1], aim[2]}, camera.rotY,
                     camera.rotZ);
}

void World::drawHitFlash() {
    if (core_.takeHitFlash()) hitFlash_ = 0.0f;
    if (hitFlash_ < 0.0f) return;
    hitFlash_ += lastFrameTime_;
    ::drawHitFlash(1.0f - hitFlash_ / kHitFlashSeconds, Settings::getTransparency());
    if (hitFlash_ > kHitFlashSeconds) hitFlash_ = -1.0f;
}
