#include "render/mesh_geometry.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "render/connectivity_reference.h"
#include "render/mesh_builder.h"

namespace {

void expectSameNeighbours(const MeshObject3ds& a, const MeshObject3ds& b) {
    ASSERT_EQ(a.faces.size(), b.faces.size());
    for (std::size_t f = 0; f < a.faces.size(); ++f) {
        for (int k = 0; k < 3; ++k)
            ASSERT_EQ(a.faces[f].neighbour[k], b.faces[f].neighbour[k])
                << "face " << f << " edge " << k;
        ASSERT_EQ(a.faces[f].lit, b.faces[f].lit);
    }
}

TEST(Connectivity, NanPositionsMatchNothing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    MeshObject3ds o = mesh({{nan, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{{0, 1, 2}}, {{0, 1, 2}}});
    MeshObject3ds plain = o;
    buildConnectivity(o);
    buildConnectivityPlain(plain);
    expectSameNeighbours(o, plain);
    EXPECT_EQ(o.faces[0].neighbour[0], -2);
    EXPECT_EQ(o.faces[0].neighbour[1], 1);
}

// Random meshes on a small lattice, so that edges are shared by many faces, in both
// directions, within one face and through split vertices at equal positions (-0 equal
// to +0): the indexed search must give exactly what the search through every face
// gives, overwrites and open edges included.
TEST(Connectivity, IndexedSearchEqualsThePlainRule) {
    std::mt19937 rng(11);
    for (int round = 0; round < 300; ++round) {
        std::vector<Vec3f> vertices;
        const int vertexCount = 3 + static_cast<int>(rng() % 12);
        for (int v = 0; v < vertexCount; ++v)
            vertices.push_back({static_cast<float>(rng() % 3), static_cast<float>(rng() % 2),
                                rng() % 5 == 0 ? -0.0f : 0.0f});
        std::vector<std::array<int, 3>> tris;
        const int faceCount = 1 + static_cast<int>(rng() % 40);
        for (int f = 0; f < faceCount; ++f)
            tris.push_back({static_cast<int>(rng() % vertexCount),
                            static_cast<int>(rng() % vertexCount),
                            static_cast<int>(rng() % vertexCount)});
        MeshObject3ds fast = mesh(vertices, tris);
        MeshObject3ds plain = fast;
        buildConnectivity(fast);
        buildConnectivityPlain(plain);
        expectSameNeighbours(fast, plain);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
