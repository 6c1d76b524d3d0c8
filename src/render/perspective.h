#pragma once

// The match's projection: the configured field of view (degrees, vertical) over the
// window's aspect, near plane 0.01 and far plane 10000 world units. Sets the viewport and
// the projection matrix and leaves the modelview matrix selected; a window of no height
// keeps the identity projection.
void setPerspective(int width, int height);
