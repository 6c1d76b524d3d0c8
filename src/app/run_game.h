#pragma once

// The whole start-up of the game client, from reading the settings to the GLUT loop.
// Never returns: the game ends through quit().
[[noreturn]] void runGame(int argc, char** argv);

// Window size for the configured resolution; a store without one (no settings file)
// still opens a usable 800 x 600 window.
void initialWindowSize(int& width, int& height);
