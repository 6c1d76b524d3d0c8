#pragma once

#include "render/model_3ds.h"

// Face neighbours and plane equations of a mesh object, for its shadow volume.

// Sets every face's lit state to unclassified and finds, for each edge of each face, the
// first other face in face order with an edge of the same two end points (exact float
// comparison, either direction); the match is recorded both ways, so a later face can
// overwrite an earlier face's entry. An edge without a match gets FaceNeighbour::None.
// Runs in linear time by indexing the edges.
void buildConnectivity(MeshObject3ds& object);
void buildConnectivity(Model3ds& model);

// The plane a x + b y + c z + d = 0 of every face, from its three corners.
void computePlanes(MeshObject3ds& object);
void computePlanes(Model3ds& model);
