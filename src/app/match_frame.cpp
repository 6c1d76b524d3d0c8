// One frame of the match, as the player sees it while playing and while dead.
#include <GL/freeglut.h>

#include "app/camera.h"
#include "app/match.h"
#include "app/ranking_view.h"
#include "config/settings.h"
#include "fx/hud.h"
#include "fx/screen_passes.h"
#include "net/demo/demo_format.h"
#include "net/player_status.h"
#include "render/lod_grid.h"
#include "world/sun_light.h"

HudInput hudInputFromStatus() {
    HudInput in;
    in.speed = PlayerStatus::getSpeed();
    in.health = PlayerStatus::getHealth();
    in.armor = PlayerStatus::getArmor();
    in.frags = PlayerStatus::getFrags();
    in.weapon = PlayerStatus::getWeapon();
    in.ammo = PlayerStatus::getAmmo(in.weapon);
    PlayerStatus::getEye(in.eye);
    PlayerStatus::getAim(in.aim);
    return in;
}

void Match::drawFrame(bool dead) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glLoadIdentity();
    Pose vehicle;
    Pose look;
    world_->getCameraPose(vehicle, look);
    if (const demo::Frame* played = playedFrame()) {
        camera_->applyView(vehicle, look, played->cameraOffset);
    } else {
        camera_->applyView(vehicle, look);
    }
    // The light's position goes through the view just set, into eye space.
    sunLight_->apply();
    const Pose camera = camera_->getPose();
    // While dead the grid keeps the cells of the last frame played.
    if (!dead) LodGrid::instance().updateLodGrid(camera);
    world_->draw(camera);
    if (dead) {
        if (Settings::getShadow()) darkenShadows(true);
        drawRanking(world_->rankingRows());
    } else {
        if (Settings::getMotionBlur()) motionBlur_.apply(clockMs());
        if (Settings::getShadow()) darkenShadows(Settings::getTransparency());
        hud_->draw(hudInputFromStatus());
    }
    glFlush();
    glutSwapBuffers();
}
