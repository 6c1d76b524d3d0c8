#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The figures of a timedemo run from the wall-clock time of each frame drawn (seconds).
struct TimedemoFigures {
    std::size_t frames = 0;
    double seconds = 0.0;
    double averageFps = 0.0;
    // The frame rate of the slowest 1% of the frames (their mean time; one frame at
    // least): what the player feels in the worst moments.
    double lowFps = 0.0;
    double processorMs = 0.0;  // processor time of the process a frame, every thread
};
TimedemoFigures timedemoFigures(const std::vector<double>& frameSeconds,
                                double processorSeconds = 0.0);

// The drawing settings a figure depends on.
struct TimedemoSettings {
    int width = 0;
    int height = 0;
    int renderMode = 0;
    bool shadows = false;
    bool fog = false;
    bool lensFlare = false;
    bool blur = false;
    bool lod = false;
};
// The settings of this run, in a window of `width` x `height` pixels.
TimedemoSettings timedemoSettings(int width, int height);

// Writes each frame's seconds to the file at `path`, one a line, so that runs can be
// compared frame by frame. Returns an empty string, or why the file could not be written
// (it may then hold part of the figures).
std::string writeFrameTimes(const std::string& path, const std::vector<double>& frameSeconds);

// The one line a timedemo prints, e.g. "timedemo: 1800 frames, 30.00 s, 60.0 fps
// average, 41.3 fps 1% low; 800x600, render mode Displaylists, shadows off, fog on,
// lens flare on, blur off, lod on; 14.2 ms of processor time a frame".
std::string timedemoLine(const TimedemoFigures& figures, const TimedemoSettings& settings);
