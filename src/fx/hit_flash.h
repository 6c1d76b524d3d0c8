#pragma once

// The red flash over the whole window when a hit is reported: one quad in colour
// (0.688, 0.09, 0.09, alpha), added onto the picture as (ONE, DST_ALPHA) when
// `transparency` is on and drawn opaque without it. Depth test, lighting and texturing
// are off for it, and every state and both matrices are restored afterwards. Main
// thread, with the GL context.
void drawHitFlash(float alpha, bool transparency);
