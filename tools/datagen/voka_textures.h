#pragma once

#include <cstdint>

#include "image.h"

namespace datagen {

// The Voka's paint job, laid out on the body's (u along the length, v around the
// section) coordinates; `paint` is the team colour and `stripe` the racing stripes.
Image vokaBodyTexture(const Color& paint, const Color& stripe, uint32_t seed);
// Tyre, rim and hub, shared by both teams.
Image vokaWheelTexture();

}  // namespace datagen
