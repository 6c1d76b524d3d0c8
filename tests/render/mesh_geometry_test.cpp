#include "render/mesh_geometry.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "render/connectivity_reference.h"
#include "render/mesh_builder.h"

namespace {

// Random meshes on a small lattice, so that edges are shared by many faces, in both
// directions, within one face and through split vertices at equal positions (-0 equal
// to +0), and positions that are not numbers match nothing: the indexed search must give
// exactly what the search through every face gives, overwrites and open edges included.
TEST(Connectivity, IndexedSearchEqualsThePlainRule) {
    std::mt19937 rng(11);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (int round = 0; round < 300; ++round) {
        const auto pick = [&](int n) { return static_cast<int>(rng() % n); };
        std::vector<Vec3f> vertices(3 + pick(12));
        for (Vec3f& v : vertices)
            v = {pick(17) == 0 ? nan : pick(3) * 1.0f, pick(2) * 1.0f, pick(5) == 0 ? -0.0f : 0.0f};
        std::vector<std::array<int, 3>> tris(1 + pick(40));
        const int n = static_cast<int>(vertices.size());
        for (auto& t : tris) t = {pick(n), pick(n), pick(n)};
        MeshObject3ds fast = mesh(vertices, tris);
        MeshObject3ds plain = fast;
        buildConnectivity(fast);
        buildConnectivityPlain(plain);
        for (std::size_t f = 0; f < fast.faces.size(); ++f) {
            ASSERT_EQ(fast.faces[f].lit, plain.faces[f].lit);
            for (int k = 0; k < 3; ++k)
                ASSERT_EQ(fast.faces[f].neighbour[k], plain.faces[f].neighbour[k])
                    << "round " << round << " face " << f << " edge " << k;
        }
    }
}

}  // namespace
