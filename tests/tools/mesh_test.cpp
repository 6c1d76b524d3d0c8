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

Point key(const Vec3& v) {
    return {v.x, v.y, v.z};
}

// Counts directed edges by position: in a closed, consistently wound solid every edge
// appears once in each direction.
int unmatchedEdges(const MeshObject& o) {
    std::map<Edge, int> edges;
    for (const auto& f : o.faces) {
        for (int k = 0; k < 3; ++k) {
            const Point a = key(o.positions[static_cast<size_t>(f[k])]);
            const Point b = key(o.positions[static_cast<size_t>(f[(k + 1) % 3])]);
            if (a == b) continue;
            ++edges[{a, b}];
        }
    }
    int unmatched = 0;
    for (const auto& [edge, count] : edges) {
        const auto back = edges.find({edge.second, edge.first});
        if (back == edges.end() || back->second != count) ++unmatched;
    }
    return unmatched;
}

double signedVolume(const MeshObject& o) {
    double v = 0;
    for (const auto& f : o.faces) {
        const Vec3 a = o.positions[static_cast<size_t>(f[0])];
        const Vec3 b = o.positions[static_cast<size_t>(f[1])];
        const Vec3 c = o.positions[static_cast<size_t>(f[2])];
        v += static_cast<double>(dot(a, cross(b, c)));
    }
    return v / 6;
}

struct NamedModel {
    std::string name;
    Model model;
};

void PrintTo(const NamedModel& m, std::ostream* os) {
    *os << m.name;
}

std::vector<NamedModel> allModels() {
    std::vector<NamedModel> out;
    const std::pair<const char*, Detail> details[] = {
        {"full", Detail::Full}, {"middle", Detail::Middle}, {"far", Detail::Far}};
    for (const auto& [name, d] : details) {
        out.push_back({std::string("voka_") + name, vokaModel(d, "t.tga")});
        out.push_back({std::string("mg_") + name, machineGunModel(d)});
        out.push_back({std::string("rail_") + name, railGunModel(d)});
        for (ItemKind k : {ItemKind::Power25, ItemKind::Power15, ItemKind::AmmoMg,
                           ItemKind::AmmoRail, ItemKind::Armor50, ItemKind::Armor100}) {
            out.push_back({std::string(itemFileStem(k)) + "_" + name, itemModel(k, d)});
        }
    }
    out.push_back({"sky", skyModel()});
    return out;
}

class GeneratedModel : public ::testing::TestWithParam<NamedModel> {};

// Every edge is paired by position, the volume is positive, and no face has two corners
// in one place: the game averages face normals over shared vertices, and a face without a
// normal would darken its neighbours.
TEST_P(GeneratedModel, EveryObjectIsAClosedSolidFacingOutwardsWithAMaterial) {
    const Model& m = GetParam().model;
    for (const MeshObject& o : m.objects) {
        EXPECT_EQ(unmatchedEdges(o), 0) << o.name;
        EXPECT_GT(signedVolume(o), 0) << o.name;
        EXPECT_EQ(o.positions.size(), o.uvs.size()) << o.name;
        EXPECT_LE(o.positions.size(), 65535u) << o.name;
        EXPECT_FALSE(o.faces.empty()) << o.name;
        EXPECT_GE(o.material, 0) << o.name;
        EXPECT_LT(o.material, static_cast<int>(m.materials.size())) << o.name;
        for (const auto& f : o.faces) {
            const Vec3 a = o.positions[static_cast<size_t>(f[0])];
            ASSERT_GE(length(cross(o.positions[static_cast<size_t>(f[1])] - a,
                                   o.positions[static_cast<size_t>(f[2])] - a)),
                      1e-12f)
                << o.name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllModels, GeneratedModel, ::testing::ValuesIn(allModels()),
                         [](const auto& param) { return param.param.name; });

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
