// Geometry of the generated models: closed, outward-facing solids, so that the game's
// smooth normals, back-face culling and stencil shadows (which pair up edges by exact
// position) work. The 3DS files themselves are read back with assimp in gamedata_tests.
#include "mesh.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

#include "models.h"
#include "voka_model.h"
#include "writer_3ds.h"

namespace {

using namespace datagen;

using Point = std::tuple<float, float, float>;
using Edge = std::pair<Point, Point>;

// The sky, then for full, middle and far detail the Voka, the weapons and the items.
std::vector<Model> allModels() {
    std::vector<Model> out{skyModel()};
    for (const Detail d : {Detail::Full, Detail::Middle, Detail::Far}) {
        out.insert(out.end(), {vokaModel(d, "t.tga"), machineGunModel(d), railGunModel(d)});
        for (ItemKind k : {ItemKind::Power25, ItemKind::Power15, ItemKind::AmmoMg,
                           ItemKind::AmmoRail, ItemKind::Armor50, ItemKind::Armor100})
            out.push_back(itemModel(k, d));
    }
    return out;
}

// Every edge is paired by position (once in each direction in a closed, consistently
// wound solid), the volume is positive, and no face has two corners in one place: the game
// averages face normals over shared vertices, and a face without a normal would darken its
// neighbours.
TEST(GeneratedModel, EveryObjectIsAClosedSolidFacingOutwardsWithAMaterial) {
    const std::vector<Model> models = allModels();
    for (std::size_t i = 0; i < models.size(); ++i) {
        const Model& m = models[i];
        for (const MeshObject& o : m.objects) {
            SCOPED_TRACE(std::to_string(i) + " " + o.name);
            std::map<Edge, int> edges;
            double volume = 0;
            for (const auto& f : o.faces) {
                const auto at = [&](int k) { return o.positions[static_cast<size_t>(f[k % 3])]; };
                volume += static_cast<double>(dot(at(0), cross(at(1), at(2))));
                ASSERT_GE(length(cross(at(1) - at(0), at(2) - at(0))), 1e-12f);
                const auto point = [&](int k) { return Point{at(k).x, at(k).y, at(k).z}; };
                for (int k = 0; k < 3; ++k) ++edges[{point(k), point(k + 1)}];
            }
            int unmatched = 0;
            for (const auto& [edge, count] : edges) {
                const auto back = edges.find({edge.second, edge.first});
                unmatched += back == edges.end() || back->second != count;
            }
            EXPECT_TRUE(unmatched == 0 && volume > 0) << unmatched << " " << volume;
            EXPECT_TRUE(o.positions.size() == o.uvs.size() && o.positions.size() <= 65535u &&
                        !o.faces.empty() && o.material >= 0 &&
                        o.material < static_cast<int>(m.materials.size()));
        }
    }
}

TEST(Writer3ds, RefusesObjectsBeyondSixteenBitCounts) {
    Model m;
    m.materials = {{"mat", 1, 1, 1, ""}};
    MeshObject big;
    for (int i = 0; i < 70000; ++i) big.addVertex({static_cast<float>(i), 0, 0}, {0, 0});
    big.addTriangle(0, 1, 2);
    m.objects = {big};
    EXPECT_THROW(encode3ds(m), std::runtime_error);
}

}  // namespace
