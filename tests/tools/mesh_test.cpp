// Geometry of the generated models: closed, outward-facing solids, so that the game's
// smooth normals, back-face culling and stencil shadows (which pair up edges by exact
// position) work; and the 3DS writer's coordinate turn.
#include "mesh.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
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

TEST_P(GeneratedModel, EveryObjectIsAClosedSolidFacingOutwards) {
    for (const MeshObject& o : GetParam().model.objects) {
        EXPECT_EQ(unmatchedEdges(o), 0) << o.name;
        EXPECT_GT(signedVolume(o), 0) << o.name;
        EXPECT_EQ(o.positions.size(), o.uvs.size()) << o.name;
        EXPECT_LE(o.positions.size(), 65535u) << o.name;
    }
}

// The game averages face normals over shared vertices; a face with two corners in one
// place has no normal and would darken its neighbours.
TEST_P(GeneratedModel, HasNoDegenerateFaces) {
    for (const MeshObject& o : GetParam().model.objects) {
        int degenerate = 0;
        for (const auto& f : o.faces) {
            const Vec3 a = o.positions[static_cast<size_t>(f[0])];
            const Vec3 n = cross(o.positions[static_cast<size_t>(f[1])] - a,
                                 o.positions[static_cast<size_t>(f[2])] - a);
            if (length(n) < 1e-12f) ++degenerate;
        }
        EXPECT_EQ(degenerate, 0) << o.name;
    }
}

TEST_P(GeneratedModel, EveryObjectNamesAMaterialOfTheModel) {
    const Model& m = GetParam().model;
    for (const MeshObject& o : m.objects) {
        EXPECT_GE(o.material, 0) << o.name;
        EXPECT_LT(o.material, static_cast<int>(m.materials.size())) << o.name;
        EXPECT_FALSE(o.faces.empty()) << o.name;
    }
}

INSTANTIATE_TEST_SUITE_P(AllModels, GeneratedModel, ::testing::ValuesIn(allModels()),
                         [](const auto& param) { return param.param.name; });

// The game's reader turns a file vertex (x, y, z) into (x, z, -y); the writer stores a
// model-space point (1, 2, 3) as (1, -3, 2).
TEST(Writer3ds, StoresModelSpacePointsSoTheReaderGetsThemBack) {
    Model m;
    m.materials = {{"mat", 10, 20, 30, "skin.tga"}};
    MeshObject o;
    o.name = "tri";
    o.addVertex({1, 2, 3}, {0, 0});
    o.addVertex({4, 5, 6}, {1, 0});
    o.addVertex({7, 8, 9}, {0, 1});
    o.addTriangle(0, 1, 2);
    m.objects = {o};
    const Bytes bytes = encode3ds(m);
    // Main chunk first, its length the whole file.
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(bytes[0] | (bytes[1] << 8), 0x4D4D);
    uint32_t mainLength = 0;
    std::memcpy(&mainLength, &bytes[2], 4);
    EXPECT_EQ(mainLength, bytes.size());
    // Find the vertex list chunk (0x4110) and read the first vertex.
    size_t at = 0;
    for (size_t i = 0; i + 8 < bytes.size(); ++i) {
        if (bytes[i] == 0x10 && bytes[i + 1] == 0x41) {
            at = i;
            break;
        }
    }
    ASSERT_NE(at, 0u);
    EXPECT_EQ(bytes[at + 6] | (bytes[at + 7] << 8), 3);
    float first[3];
    std::memcpy(first, &bytes[at + 8], sizeof first);
    EXPECT_EQ(first[0], 1.0f);
    EXPECT_EQ(first[1], -3.0f);
    EXPECT_EQ(first[2], 2.0f);
    // The material group names the material and the texture file is stored with its zero.
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find(std::string("skin.tga\0", 9)), std::string::npos);
    EXPECT_NE(text.find(std::string("mat\0\1\0\0\0", 8)), std::string::npos);
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
