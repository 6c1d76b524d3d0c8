// The match's side of demos: a recording takes each frame drawn, a playback drives the
// frames from the demo instead of the player and the clock.
#include <GL/gl.h>

#include <cstdio>

#include "app/game.h"
#include "app/match.h"
#include "app/timedemo_report.h"
#include "net/demo/demo_playback.h"
#include "net/player_status.h"

const demo::Frame* Match::playedFrame() const {
    if (!services_.playback || !world_) return nullptr;
    return services_.playback->beginFrame(world_->netClient());
}

WorldInput Match::playedInput(const demo::Frame& played) {
    // The weapon as the player had it; a change goes to no one, there is no server.
    PlayerStatus::setWeapon(played.weapon);
    WorldInput input;
    input.fireButton = played.fire;
    input.frameTime = played.frameTime;
    input.nowSeconds = played.clockMs * 0.001f;
    return input;
}

demo::Frame Match::recordedFrame(bool dead) const {
    demo::Frame frame;
    // A dead player's frames have no idle: they keep the clock of their drawing.
    frame.clockMs = dead ? clockMs() : idleClockMs_;
    frame.frameTime = dead ? 0.0f : idleFrameTime_;
    Pose look;
    world_->ownPose(frame.pose, look);
    frame.lookYaw = look.rotZ;
    frame.lookPitch = look.rotY;
    PlayerStatus::getCameraOffset(frame.cameraOffset);
    frame.weapon = PlayerStatus::getWeapon();
    frame.speed = PlayerStatus::getSpeed();
    frame.fire = idleFire_ && !dead;
    frame.dead = dead;
    return frame;
}

MatchRequest Match::endDemo() {
    if (services_.demoEnded) {
        services_.demoEnded();
        return MatchRequest::None;
    }
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const TimedemoFigures figures =
        timedemoFigures(services_.playback->frameSeconds(), services_.playback->processorSeconds());
    std::printf("%s\n", timedemoLine(figures, timedemoSettings(viewport[2], viewport[3])).c_str());
    std::fflush(stdout);  // the figures before any complaint about the frame times
    if (!services_.frameTimesPath.empty()) {
        const std::string error =
            writeFrameTimes(services_.frameTimesPath, services_.playback->frameSeconds());
        if (!error.empty()) {
            std::fprintf(stderr, "voka: %s\n", error.c_str());
            quit(1);
        }
    }
    quit();
}
