#pragma once

#include "render/model_3ds.h"

// Flattens every object of a model for index-free drawing: per corner the normal, the
// vertex, the fog coordinate (objects with fog coordinates), and either the material
// colour (untextured objects with a material) or the texture coordinate (textured
// objects with texture coordinates). A corner whose texture or fog coordinate is
// missing from the file gets zeros.
void buildDrawArrays(Model3ds& model);
