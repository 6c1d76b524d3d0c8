#pragma once

// The two textures that several kinds of object draw with, loaded once per match: the
// terrain texture of the current level (the ground and the map of the head-up display)
// and the circle texture of the glowing beams. The model store fills the table at
// match start; anything that draws may read it. 0 (no texture) until then.
struct SharedTextures {
    static constexpr int kTerrain = 0;
    static constexpr int kCircle = 1;
    static constexpr int kSlots = 2;

    // The table itself, in the form loadTexture writes to.
    static unsigned int* table();
    // The texture name in a slot; 0 for a slot outside the table.
    static unsigned int get(int slot);
    static void clear();
};
