#pragma once

#include <memory>
#include <string>
#include <vector>

#include "combat/beam_table.h"
#include "combat/explosion.h"
#include "combat/voka.h"
#include "world/item.h"

// The viewer's camera: the match camera riding on `vehicle` with the camera record `look`
// at `offset` (forward, lateral, up in the vehicle's frame; see combat/camera_view.h).
// The flight and the fixed views ride with no offset; the player's view rides on a Voka.
struct ViewerCamera {
    Pose vehicle;
    Pose look;
    float offset[3] = {0.0f, 0.0f, 0.0f};
};

// A camera at `pose` itself: position, pitch in rotY (negative looks down), heading in
// rotZ (0 along +x); no roll.
ViewerCamera cameraAt(const Pose& pose);

// The match's objects placed on the level as a still life, each a copy of its model-store
// prototype made the way the match makes it: for looking at how they read (scale,
// orientation, wheels on the ground, weapon on the turret, shadows, colours) and for
// timing their drawing. Nothing moves: the explosions hold their pictures and the wreck
// its flight. Positions are fixed world coordinates in a valley near the south edge of
// the map (level 1), each standing on the current level's ground.
enum class ShowroomLayout {
    // One of each: the red Voka steering at full lock with its machine gun, the green one
    // with its rail gun, a green one blowing up, the six items, a Voka's explosion at
    // five of its pictures and a rail shot's two beams, with the arena fence beyond.
    LineUp,
    // A busy match in front of one camera: 16 Vokas with their weapons, 18 items, 20
    // explosions (18 shots' impacts and 2 Vokas') and 10 rail shots.
    Crowd,
    // The crowd's camera over the bare ground: the reference for timing the crowd.
    Empty,
};

struct ShowroomView {
    const char* name;
    ViewerCamera camera;
};

class Showroom {
  public:
    // Main thread with the GL context, after the level is loaded: builds every prototype
    // of the model store from the working directory (the loading screen's work) and
    // uploads it, then places the layout's objects on the terrain.
    void load(ShowroomLayout layout);

    // Draws the objects in the match's order: Vokas, items, explosions, then the shots'
    // beams and the fence. `light` (x, y, z, 1) casts the shadows.
    void draw(const Pose& camera, const float* light);

    // The layout's cameras, the first the default.
    const std::vector<ShowroomView>& views() const { return views_; }

  private:
    void loadLineUp();
    void loadCrowd();
    Voka& addVoka(std::int32_t type, float x, float y, float heading, std::int32_t weapon);
    void addItem(std::int32_t code, float x, float y, float spinSeconds);
    void addExplosion(float x, float y, float z, float size, int picture);
    void addRailShot(const Voka& from, float pitch, std::int32_t id);

    std::vector<std::unique_ptr<Voka>> vokas_;
    std::vector<std::unique_ptr<Item>> items_;
    std::vector<std::unique_ptr<Explosion>> explosions_;
    BeamTable shots_;
    BeamTable fence_;
    std::vector<ShowroomView> views_;
};
