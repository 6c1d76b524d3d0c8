#pragma once

#include <cstdint>

// Screen states of the game. Value 2 is never entered; setState, display and resize
// answer it with -2.
struct GameState {
    enum : std::int32_t {
        Menu = 0,
        Playing = 1,
        Dead = 3,
        Respawn = 4,
        About = 5,
        Story = 6,
        Config = 7,
        Loading = 8,
    };
};
