// Every 3DS model opens in an independent reader (assimp) with the objects, materials and
// bounds that the game relies on.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "gamedata_support.h"
#include "support/temp_dir.h"

namespace {

using namespace gamedata_testing;
namespace fs = std::filesystem;

struct Bounds {
    std::array<double, 3> min{1e9, 1e9, 1e9}, max{-1e9, -1e9, -1e9};
    void add(const std::array<double, 3>& p) {
        for (int k = 0; k < 3; ++k) {
            min[k] = std::min(min[k], p[k]);
            max[k] = std::max(max[k], p[k]);
        }
    }
    void add(const Bounds& b) {
        add(b.min);
        add(b.max);
    }
    double centre(int k) const { return (min[k] + max[k]) / 2; }
};

// A model as assimp reads it, exported to OBJ: one group per mesh object in file order,
// the materials in order with their texture files, and the faces.
struct Read {
    std::vector<Bounds> objects;
    Bounds all;
    std::vector<std::string> materials;
    std::vector<std::string> textureFiles;
    int triangles = 0;
    int otherPrimitives = 0;  // assimp turns degenerate triangles into lines or points
};

Read read(const std::string& relative) {
    testing_support::TempDir dir;
    Read out;
    const CommandResult r =
        run("assimp export " + quoted(gamePath(relative)) + " " + quoted(dir.file("m.obj")));
    EXPECT_EQ(r.status, 0) << relative << ": " << r.output;
    std::istringstream obj(readFile(dir.file("m.obj")));
    std::vector<std::array<double, 3>> vertices;
    std::string line;
    while (std::getline(obj, line)) {
        std::array<double, 3> v{};
        if (std::sscanf(line.c_str(), "v %lf %lf %lf", &v[0], &v[1], &v[2]) == 3) {
            vertices.push_back(v);
        } else if (line.rfind("g ", 0) == 0) {
            out.objects.emplace_back();
        } else if (line.rfind("l ", 0) == 0 || line.rfind("p ", 0) == 0) {
            ++out.otherPrimitives;
        } else if (line.rfind("f ", 0) == 0 && !out.objects.empty()) {
            ++out.triangles;
            std::istringstream corners(line.substr(2));
            std::string corner;
            while (corners >> corner) {
                const long index = std::atol(corner.c_str());
                if (index >= 1 && static_cast<size_t>(index) <= vertices.size())
                    out.objects.back().add(vertices[static_cast<size_t>(index - 1)]);
            }
        }
    }
    for (const Bounds& b : out.objects) out.all.add(b);
    std::istringstream mtl(readFile(dir.file("m.mtl")));
    while (std::getline(mtl, line)) {
        if (line.rfind("newmtl ", 0) == 0) out.materials.push_back(line.substr(7));
        if (line.rfind("map_Kd ", 0) == 0) out.textureFiles.push_back(line.substr(7));
    }
    return out;
}

struct ModelSpec {
    const char* stem;  // under models/
    size_t objects;
    size_t materials;
};

void PrintTo(const ModelSpec& s, std::ostream* os) {
    *os << s.stem;
}

const ModelSpec kModels[] = {
    {"voka_red", 7, 6},           {"voka", 7, 6},
    {"weapon_mg", 4, 4},          {"weapon_railgun", 4, 4},
    {"items/powerup25", 2, 2},    {"items/powerup15", 2, 2},
    {"items/ammo_minigun", 3, 3}, {"items/ammo_rail", 2, 2},
    {"items/amor_50", 2, 2},      {"items/amor_100", 2, 2},
};

class ModelLevels : public ::testing::TestWithParam<ModelSpec> {};

// Full, middle and far detail open with the same objects and materials, in the same
// order, with fewer triangles, and name textures that exist.
TEST_P(ModelLevels, OpenWithTheSameMaterialsAndFewerTriangles) {
    const ModelSpec& want = GetParam();
    const std::string base = std::string("models/") + want.stem;
    const Read full = read(base + ".3ds");
    const Read middle = read(base + "_middle.3ds");
    const Read far = read(base + "_far.3ds");
    for (const Read* m : {&full, &middle, &far}) {
        EXPECT_EQ(m->objects.size(), want.objects);
        EXPECT_EQ(m->materials.size(), want.materials);
        EXPECT_EQ(m->otherPrimitives, 0);
        EXPECT_EQ(m->materials, full.materials);
        for (const std::string& file : m->textureFiles)
            EXPECT_TRUE(fs::is_regular_file(gamePath("textures/" + file))) << file;
    }
    EXPECT_LT(far.triangles, middle.triangles);
    EXPECT_LT(middle.triangles, full.triangles);
}

INSTANTIATE_TEST_SUITE_P(Models, ModelLevels, ::testing::ValuesIn(kModels));

// The drawn Voka fills its collision box (shown in the combat GL tests); objects 3 and 4
// are the wheel sets, centred on the pivots the game turns them about. The machine gun's
// barrel cluster (object 2) spins about the z-parallel axis through (-0.158, 0.395); the
// rail gun ends at its muzzle (-0.164, 0.496, -0.533).
TEST(MovingParts, SitOnThePivotsTheGameTurnsThemAbout) {
    const struct {
        const char* file;
        std::size_t object;
        double x, y, z;
    } parts[] = {{"models/voka_red.3ds", 3, 0, 0.097, -0.461},
                 {"models/voka.3ds", 4, 0, 0.1, 0.0},
                 {"models/weapon_mg.3ds", 2, -0.158, 0.395, NAN},
                 {"models/weapon_mg_middle.3ds", 2, -0.158, 0.395, NAN}};
    for (const auto& part : parts) {
        const Read m = read(part.file);
        ASSERT_GT(m.objects.size(), part.object) << part.file;
        const Bounds& b = m.objects[part.object];
        EXPECT_NEAR(b.centre(0), part.x, 2e-3) << part.file;
        EXPECT_NEAR(b.centre(1), part.y, 2e-3) << part.file;
        EXPECT_TRUE(std::isnan(part.z) || std::abs(b.centre(2) - part.z) < 2e-3) << part.file;
    }
    const Bounds rail = read("models/weapon_railgun.3ds").all;
    EXPECT_NEAR(rail.min[2], -0.533, 1e-3);
    EXPECT_GT(rail.max[1], 0.496);
}

// Items stand on their base at y = 0 and are a few units across at the game's scale of 10.
TEST(ItemModels, StandOnTheirBase) {
    for (const char* stem :
         {"powerup25", "powerup15", "ammo_minigun", "ammo_rail", "amor_50", "amor_100"}) {
        const Bounds b = read(std::string("models/items/") + stem + ".3ds").all;
        EXPECT_NEAR(b.min[1], 0.0, 0.05) << stem;
        EXPECT_GT(b.max[1], 0.25) << stem;
        EXPECT_LT(b.max[1], 0.8) << stem;
    }
}

// The sky is one textured sphere object of radius 0.6: scaled by 10000 it stays inside the
// far plane from anywhere over the arena.
TEST(SkyModel, IsOneTexturedSphere) {
    const Read m = read("models/sky.3DS");
    EXPECT_EQ(m.objects.size(), 1u);
    EXPECT_EQ(m.otherPrimitives, 0);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(m.all.min[k], -0.6, 1e-3);
        EXPECT_NEAR(m.all.max[k], 0.6, 1e-3);
    }
    ASSERT_EQ(m.textureFiles.size(), 1u);
    EXPECT_TRUE(fs::is_regular_file(gamePath("textures/" + m.textureFiles[0])));
}

}  // namespace
