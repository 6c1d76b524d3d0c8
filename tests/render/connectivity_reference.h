#pragma once

#include "render/model_3ds.h"

// The neighbour search written the plain way, face against face: for each edge of each
// face, the first edge of another face (in face order) with the same end points in
// either direction, recorded both ways; none found gives -2. The game's indexed version
// must agree with it exactly.
inline void buildConnectivityPlain(MeshObject3ds& object) {
    auto same = [](const Vec3f& a, const Vec3f& b) {
        return a.x == b.x && a.y == b.y && a.z == b.z;
    };
    const int count = static_cast<int>(object.faces.size());
    for (int i = 0; i < count; ++i) {
        Face3ds& fi = object.faces[i];
        fi.lit = FaceLit::Unclassified;
        for (int k = 0; k < 3; ++k) {
            const Vec3f& a = object.vertices[fi.vertex[k]];
            const Vec3f& b = object.vertices[fi.vertex[(k + 1) % 3]];
            bool found = false;
            for (int j = 0; j < count && !found; ++j) {
                if (j == i) continue;
                Face3ds& fj = object.faces[j];
                for (int m = 0; m < 3 && !found; ++m) {
                    const Vec3f& c = object.vertices[fj.vertex[m]];
                    const Vec3f& d = object.vertices[fj.vertex[(m + 1) % 3]];
                    if ((same(a, c) && same(b, d)) || (same(a, d) && same(b, c))) {
                        fi.neighbour[k] = j;
                        fj.neighbour[m] = i;
                        found = true;
                    }
                }
            }
            if (!found) fi.neighbour[k] = FaceNeighbour::None;
        }
    }
}
