#pragma once

// The OpenGL states the game sets when a screen or the match begins.

// Clear values (black, stencil 0, accumulation black and opaque) and the 3D states that
// the menu and the match share: smooth shading, back faces culled when culling is on,
// depth test, lighting, colour-tracking materials and 2D textures.
void applyBaseGlState();

// The match's states: the base states, every buffer cleared, the texture filters and
// mipmap levels of the settings (on the texture bound at that moment), face culling by
// the `backfaceCulling` setting, normalised normals, and the modelview matrix current.
void applyMatchGlState();

// Blending on when the `transparency` setting is on, off otherwise: with it off, glows and
// flip-books draw opaque.
void applyTransparency();
