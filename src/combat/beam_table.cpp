#include "combat/beam_table.h"

namespace {

struct BeamStyle {
    float colour[4];
    float alphaRate;
    float colourRate;
    std::int32_t mode;
};

constexpr BeamStyle kRailHelix = {{0.0f, 0.5f, 1.0f, 0.5f}, -0.015f, 0.0f, BeamMode::Helix};
constexpr BeamStyle kRailCore = {{0.5f, 0.7f, 0.9f, 0.5f}, -0.02f, 0.0f, BeamMode::Band};
constexpr BeamStyle kFence = {{1.0f, 0.0f, 0.0f, 0.8f}, 0.0f, 0.0f, BeamMode::Band};

constexpr std::int32_t kRailCoreOffset = 1000;

// The fence rows, by height above the base, and the corners that its edges join.
constexpr int kFenceRowFirst = -30;
constexpr int kFenceRowStep = 15;
constexpr int kFenceRowEnd = 50;
constexpr float kArenaCorners[5][2] = {
    {0.0f, 0.0f}, {0.0f, 1600.0f}, {1600.0f, 1600.0f}, {1600.0f, 0.0f}, {0.0f, 0.0f}};

Beam* addStyled(BeamTable& beams, std::int32_t id, Pose state, BeamVec extent,
                const BeamStyle& style) {
    return beams.add(id, state, extent, style.colour, style.alphaRate, style.colourRate,
                     style.mode);
}

}  // namespace

Beam* BeamTable::add(std::int32_t id, Pose state, BeamVec extent, const float colour[4],
                     float alphaRate, float colourRate, std::int32_t mode) {
    if (beams_.size() > kCreateWhileAtMost) return nullptr;
    auto beam = std::make_unique<Beam>(state, extent, colour, alphaRate, colourRate, mode);
    beam->id = id;
    Beam* entered = beam.get();
    beams_[id] = std::move(beam);
    return entered;
}

void BeamTable::remove(std::int32_t id) {
    beams_.erase(id);
}

void BeamTable::updateAll() {
    for (auto& entry : beams_) entry.second->update();
}

void BeamTable::drawAll(Pose camera, const float* light) {
    for (auto& entry : beams_) entry.second->draw(camera, light);
}

const Beam* BeamTable::find(std::int32_t id) const {
    const auto found = beams_.find(id);
    return found == beams_.end() ? nullptr : found->second.get();
}

std::int32_t railCoreId(std::int32_t projectileId) {
    // Wraps instead of overflowing for identifiers near the bottom of the range, which a
    // peer may send.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(projectileId) -
                                     static_cast<std::uint32_t>(kRailCoreOffset));
}

void addRailBeams(BeamTable& beams, std::int32_t projectileId, Pose shot) {
    const BeamVec extent{shot.rotX - shot.x, shot.rotY - shot.y, shot.rotZ - shot.z};
    addStyled(beams, projectileId, shot, extent, kRailHelix);
    addStyled(beams, railCoreId(projectileId), shot, extent, kRailCore);
}

void removeRailBeams(BeamTable& beams, std::int32_t projectileId) {
    beams.remove(projectileId);
    beams.remove(railCoreId(projectileId));
}

void buildFence(BeamTable& fence, float baseHeight) {
    for (int k = kFenceRowFirst; k < kFenceRowEnd; k += kFenceRowStep) {
        const float z = baseHeight + static_cast<float>(k);
        for (int edge = 0; edge < 4; ++edge) {
            const float* from = kArenaCorners[edge];
            const float* to = kArenaCorners[edge + 1];
            Pose start;
            start.x = from[0];
            start.y = from[1];
            start.z = z;
            addStyled(fence, k + edge + 1, start, {to[0] - from[0], to[1] - from[1], 0.0f}, kFence);
        }
    }
}
