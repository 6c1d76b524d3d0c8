#pragma once

// The whole-screen passes of the match frame, drawn after the world and before the
// head-up display (the hit flash, which the world draws, is in hit_flash.h). Main
// thread, with the GL context.

// Motion blur through the accumulation buffer, which holds a running average of the
// frames: each step weighs the newest frame by a half and copies the average back to
// the colour buffer. The accumulation buffer is cleared (to opaque black) only at the
// match start, so the first frames fade in from black.
class MotionBlur {
  public:
    // One step at the game's millisecond clock reading `clockMs`. It blends only when
    // that clock has advanced since the last blended step (a frame faster than a
    // millisecond shows unblended); true when it did.
    bool apply(float clockMs);

  private:
    float lastBlurTime_ = 0.0f;  // clock reading of the last blend; 0 blends at once
};

// Covers every pixel that a shadow volume marked in the stencil buffer: with `blend`
// it keeps 20 % of the pixel's colour, without it the pixel turns black. The depth
// buffer is left as it was.
void darkenShadows(bool blend);
