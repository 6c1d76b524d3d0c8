#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "combat/beam.h"

// The beams of the match by identifier, owned. The shots' beams and the arena fence live
// in two tables of this kind, so that no shot's identifier can replace or remove a fence
// segment and the limit on shot beams does not count the fence.
class BeamTable {
  public:
    // A beam is only created while the table holds at most this many.
    static constexpr std::size_t kCreateWhileAtMost = 1000;

    // Creates a beam and enters it under `id`, replacing (and destroying) a beam of the
    // same identifier. Nothing is created once the table holds more than
    // kCreateWhileAtMost beams; then nullptr.
    Beam* add(std::int32_t id, Pose state, BeamVec extent, const float colour[4], float alphaRate,
              float colourRate, std::int32_t mode);
    // Destroys the beam of `id`, if there is one.
    void remove(std::int32_t id);

    void updateAll();
    void drawAll(Pose camera, const float* light);

    std::size_t size() const { return beams_.size(); }
    const Beam* find(std::int32_t id) const;

  private:
    std::unordered_map<std::int32_t, std::unique_ptr<Beam>> beams_;
};

// The two beams of a rail shot along its six state floats (muzzle point, then impact
// point): a blue helix fading by three quarters a second under the shot's identifier,
// and a pale core band fading by all of it a second under the identifier - 1000.
void addRailBeams(BeamTable& beams, std::int32_t projectileId, Pose shot);
void removeRailBeams(BeamTable& beams, std::int32_t projectileId);
// The identifier of a rail shot's core band.
std::int32_t railCoreId(std::int32_t projectileId);

// The arena fence: six rows of red bands round the four edges of the 1600 x 1600 map,
// 15 units apart from 30 below `baseHeight` (a ground height) to 45 above it.
void buildFence(BeamTable& fence, float baseHeight);
