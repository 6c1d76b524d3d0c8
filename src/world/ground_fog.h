#pragma once

// The ground fog: linear, grey, and measured by each vertex's fog coordinate (how far
// the vertex lies below the fog ceiling) instead of its distance to the eye, so it
// fills the valleys. Full fog from a fog coordinate of 50, none at 0.
namespace ground_fog {

constexpr float kStart = 0.0f;
constexpr float kEnd = 50.0f;
constexpr float kColor[4] = {0.7f, 0.7f, 0.7f, 0.8f};

// Fog is set up when the driver has fog coordinates and the `fog` setting is on.
bool wanted();

// Once at start-up, right after the extension entry points are loaded: enables the fog
// when wanted() and returns whether it did. The fog is never changed afterwards;
// switching the setting later only starts or stops the sending of fog coordinates.
bool setUp();

}  // namespace ground_fog
