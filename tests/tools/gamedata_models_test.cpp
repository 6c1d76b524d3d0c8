// Every 3DS model opens in an independent reader (assimp) with the objects, materials and
// bounds that the game relies on.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "gamedata_support.h"
#include "support/temp_dir.h"

namespace {

using namespace gamedata_testing;
namespace fs = std::filesystem;

struct Bounds {
    double min[3] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                     std::numeric_limits<double>::max()};
    double max[3] = {std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest(),
                     std::numeric_limits<double>::lowest()};
    void add(const double p[3]) {
        for (int k = 0; k < 3; ++k) {
            min[k] = std::min(min[k], p[k]);
            max[k] = std::max(max[k], p[k]);
        }
    }
    double centre(int k) const { return (min[k] + max[k]) / 2; }
};

// What `assimp info` reports about a model.
struct ModelInfo {
    int meshes = -1;
    int materials = -1;
    int faces = -1;
    std::string primitives;
    std::vector<std::string> materialNames;
    Bounds bounds;
};

int number(const std::string& text, const std::string& label) {
    const size_t at = text.find(label);
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + label.size());
}

ModelInfo info(const std::string& relative) {
    const CommandResult r = run("assimp info " + quoted(gamePath(relative)));
    ModelInfo m;
    if (r.status != 0) return m;
    m.meshes = number(r.output, "Meshes:");
    m.materials = number(r.output, "Materials:");
    m.faces = number(r.output, "Faces:");
    std::istringstream lines(r.output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("Primitive Types:", 0) == 0) {
            std::istringstream(line.substr(16)) >> m.primitives;
        }
        double p[3];
        if (std::sscanf(line.c_str(), "Minimum point (%lf %lf %lf)", &p[0], &p[1], &p[2]) == 3)
            m.bounds.add(p);
        if (std::sscanf(line.c_str(), "Maximum point (%lf %lf %lf)", &p[0], &p[1], &p[2]) == 3)
            m.bounds.add(p);
        const size_t quote = line.find('\'');
        if (line.rfind("    '", 0) == 0 && line.find("(prop)") != std::string::npos) {
            m.materialNames.push_back(
                line.substr(quote + 1, line.find('\'', quote + 1) - quote - 1));
        }
    }
    return m;
}

// Per-object bounds and material texture files, from assimp's OBJ export (one group per
// mesh object, in file order).
struct ObjExport {
    std::vector<Bounds> groups;
    std::vector<std::string> textureFiles;
};

ObjExport exportObj(const std::string& relative) {
    testing_support::TempDir dir;
    ObjExport out;
    const CommandResult r =
        run("assimp export " + quoted(gamePath(relative)) + " " + quoted(dir.file("m.obj")));
    if (r.status != 0) return out;
    std::istringstream obj(readFile(dir.file("m.obj")));
    std::vector<std::array<double, 3>> vertices;
    std::string line;
    while (std::getline(obj, line)) {
        std::array<double, 3> v{};
        if (std::sscanf(line.c_str(), "v %lf %lf %lf", &v[0], &v[1], &v[2]) == 3) {
            vertices.push_back(v);
        } else if (line.rfind("g ", 0) == 0) {
            out.groups.emplace_back();
        } else if (line.rfind("f ", 0) == 0 && !out.groups.empty()) {
            std::istringstream corners(line.substr(2));
            std::string corner;
            while (corners >> corner) {
                const long index = std::atol(corner.c_str());
                if (index >= 1 && static_cast<size_t>(index) <= vertices.size()) {
                    out.groups.back().add(vertices[static_cast<size_t>(index - 1)].data());
                }
            }
        }
    }
    std::istringstream mtl(readFile(dir.file("m.mtl")));
    while (std::getline(mtl, line)) {
        if (line.rfind("map_Kd ", 0) == 0) out.textureFiles.push_back(line.substr(7));
    }
    return out;
}

struct ModelSpec {
    const char* stem;  // under models/
    int objects;
    int materials;
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
// order, and with about a third and a tenth of the triangles.
TEST_P(ModelLevels, OpenWithTheSameMaterialsAndFewerTriangles) {
    const ModelSpec& want = GetParam();
    const std::string base = std::string("models/") + want.stem;
    const ModelInfo full = info(base + ".3ds");
    const ModelInfo middle = info(base + "_middle.3ds");
    const ModelInfo far = info(base + "_far.3ds");
    for (const ModelInfo* m : {&full, &middle, &far}) {
        EXPECT_EQ(m->meshes, want.objects);
        EXPECT_EQ(m->materials, want.materials);
        // assimp turns degenerate triangles into lines or points.
        EXPECT_EQ(m->primitives, "triangles");
        EXPECT_EQ(m->materialNames, full.materialNames);
    }
    ASSERT_GT(full.faces, 0);
    EXPECT_LT(middle.faces, full.faces * 0.6);
    EXPECT_GT(middle.faces, full.faces * 0.15);
    EXPECT_LT(far.faces, full.faces * 0.3);
    EXPECT_LT(far.faces, middle.faces);
}

TEST_P(ModelLevels, NameTexturesThatExist) {
    const std::string base = std::string("models/") + GetParam().stem;
    for (const char* suffix : {".3ds", "_middle.3ds", "_far.3ds"}) {
        const ObjExport e = exportObj(base + suffix);
        EXPECT_EQ(static_cast<int>(e.groups.size()), GetParam().objects) << suffix;
        for (const std::string& file : e.textureFiles) {
            EXPECT_TRUE(fs::is_regular_file(gamePath("textures/" + file))) << file;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Models, ModelLevels, ::testing::ValuesIn(kModels));

class VokaModel : public ::testing::TestWithParam<const char*> {};

// The Voka fits the collision box x ±0.133, y 0 to 0.427, z -0.555 to 0.1 and fills it.
TEST_P(VokaModel, FillsTheCollisionBox) {
    const ModelInfo m = info(std::string("models/") + GetParam());
    const Bounds& b = m.bounds;
    const double eps = 1e-3;
    EXPECT_GE(b.min[0], -0.133 - eps);
    EXPECT_LE(b.max[0], 0.133 + eps);
    EXPECT_GE(b.min[1], -eps);
    EXPECT_LE(b.max[1], 0.427 + eps);
    EXPECT_GE(b.min[2], -0.555 - eps);
    EXPECT_LE(b.max[2], 0.1 + eps);
    EXPECT_LT(b.min[0], -0.12);
    EXPECT_GT(b.max[0], 0.12);
    EXPECT_LT(b.min[1], 0.01);
    EXPECT_GT(b.max[1], 0.38);
    EXPECT_LT(b.min[2], -0.53);
    EXPECT_GT(b.max[2], 0.08);
}

// Objects 3 and 4 are the wheel sets, centred on the pivots the game turns them about:
// (0, 0.097, -0.461) and (0, 0.1, 0), reaching the ground.
TEST_P(VokaModel, WheelSetsSitOnTheirPivots) {
    const ObjExport e = exportObj(std::string("models/") + GetParam());
    ASSERT_EQ(e.groups.size(), 7u);
    const struct {
        size_t object;
        double y, z;
    } wheels[] = {{3, 0.097, -0.461}, {4, 0.1, 0.0}};
    for (const auto& w : wheels) {
        const Bounds& b = e.groups[w.object];
        EXPECT_NEAR(b.centre(0), 0.0, 1e-3) << w.object;
        EXPECT_NEAR(b.centre(1), w.y, 2e-3) << w.object;
        EXPECT_NEAR(b.centre(2), w.z, 2e-3) << w.object;
        EXPECT_LT(b.min[1], 0.01) << w.object;
        EXPECT_GT(b.max[0], 0.12) << w.object;
    }
}

INSTANTIATE_TEST_SUITE_P(BothTeams, VokaModel,
                         ::testing::Values("voka_red.3ds", "voka_red_middle.3ds", "voka.3ds",
                                           "voka_middle.3ds"));

// The machine gun's barrel cluster (object 2) spins about the z-parallel axis through
// (-0.158, 0.395), so it must be centred on it.
TEST(WeaponModels, MachineGunBarrelsAreCentredOnTheSpinAxis) {
    for (const char* file : {"models/weapon_mg.3ds", "models/weapon_mg_middle.3ds"}) {
        const ObjExport e = exportObj(file);
        ASSERT_EQ(e.groups.size(), 4u);
        EXPECT_NEAR(e.groups[2].centre(0), -0.158, 1e-3) << file;
        EXPECT_NEAR(e.groups[2].centre(1), 0.395, 1e-3) << file;
        EXPECT_LT(e.groups[2].min[2], -0.5) << file;
    }
}

// Both weapons sit on the mount around (-0.158, 0.4, -0.3); the rail gun ends at its
// muzzle (-0.164, 0.496, -0.533).
TEST(WeaponModels, SitOnTheMountAndReachTheMuzzle) {
    for (const char* file : {"models/weapon_mg.3ds", "models/weapon_railgun.3ds"}) {
        const Bounds b = info(file).bounds;
        EXPECT_LT(b.min[0], -0.158) << file;
        EXPECT_GT(b.max[0], -0.158) << file;
        EXPECT_LT(b.min[1], 0.4) << file;
        EXPECT_LT(b.min[2], -0.5) << file;
        EXPECT_GT(b.max[2], -0.3) << file;
    }
    const Bounds rail = info("models/weapon_railgun.3ds").bounds;
    EXPECT_NEAR(rail.min[2], -0.533, 1e-3);
    EXPECT_GT(rail.max[1], 0.496);
}

// Items stand on their base at y = 0 and are a few units across at the game's scale of 10.
TEST(ItemModels, StandOnTheirBase) {
    for (const char* stem :
         {"powerup25", "powerup15", "ammo_minigun", "ammo_rail", "amor_50", "amor_100"}) {
        const Bounds b = info(std::string("models/items/") + stem + ".3ds").bounds;
        EXPECT_NEAR(b.min[1], 0.0, 0.05) << stem;
        EXPECT_GT(b.max[1], 0.25) << stem;
        EXPECT_LT(b.max[1], 0.8) << stem;
    }
}

// The sky is one sphere object of radius 0.6: scaled by 10000 it stays inside the far plane
// from anywhere over the arena.
TEST(SkyModel, IsOneTexturedSphere) {
    const ModelInfo m = info("models/sky.3DS");
    EXPECT_EQ(m.meshes, 1);
    EXPECT_EQ(m.materials, 1);
    EXPECT_EQ(m.primitives, "triangles");
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(m.bounds.min[k], -0.6, 1e-3);
        EXPECT_NEAR(m.bounds.max[k], 0.6, 1e-3);
    }
    const ObjExport e = exportObj("models/sky.3DS");
    ASSERT_EQ(e.textureFiles.size(), 1u);
    EXPECT_TRUE(fs::is_regular_file(gamePath("textures/" + e.textureFiles[0])));
}

}  // namespace
