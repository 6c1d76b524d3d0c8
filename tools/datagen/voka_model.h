#pragma once

#include <string>

#include "mesh.h"

namespace datagen {

// The Voka in model space: Y up, front towards -z, inside the collision box x ±0.133,
// y 0 to 0.427, z -0.555 to 0.1. Objects 3 and 4 are the front and rear wheel sets,
// turning about (0, 0.097, -0.461) and (0, 0.1, 0). `bodyTexture` names the paint job.
Model vokaModel(Detail detail, const std::string& bodyTexture);

// Texture u along the body's length for a point at model z.
float vokaBodyU(float z);

// The body's texture coordinate v around each cross-section: fixed values at the template's
// corners, so that windows and stripes land on the same bands along the whole car.
struct VokaBands {
    static constexpr float kSkirt = 0.07f;  // bottom edge to lower corner
    static constexpr float kBelt = 0.2f;    // belt line, bottom of the windows
    static constexpr float kRoof = 0.3f;    // roof edge, top of the windows
};

}  // namespace datagen
