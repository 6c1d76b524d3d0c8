// Every 3DS model opens in an independent reader (assimp) with the objects, materials and
// bounds that the game relies on.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "gamedata_support.h"
#include "support/temp_dir.h"

namespace {

using namespace gamedata_testing;
namespace fs = std::filesystem;

struct Bounds {
    std::array<double, 3> min{1e9, 1e9, 1e9}, max{-1e9, -1e9, -1e9};
    void add(const std::array<double, 3>& p) {
        for (int k = 0; k < 3; ++k)
            min[k] = std::min(min[k], p[k]), max[k] = std::max(max[k], p[k]);
    }
    double centre(int k) const { return (min[k] + max[k]) / 2; }
};

// A model as assimp reads it, exported to OBJ: one group per mesh object in file order,
// the materials in order with their texture files, and the faces.
struct Read {
    std::vector<Bounds> objects;
    Bounds all;
    std::vector<std::string> materials, textureFiles;
    int triangles = 0, otherPrimitives = 0;
};

Read read(const std::string& relative) {
    testing_support::TempDir dir;
    const CommandResult r =
        run("assimp export " + quoted(gamePath(relative)) + " " + quoted(dir.file("m.obj")));
    EXPECT_EQ(r.status, 0) << relative << ": " << r.output;
    Read out;
    std::vector<std::array<double, 3>> vertices;
    std::istringstream obj(readFile(dir.file("m.obj")) + readFile(dir.file("m.mtl")));
    for (std::string line; std::getline(obj, line);) {
        std::array<double, 3> v{};
        if (std::sscanf(line.c_str(), "v %lf %lf %lf", &v[0], &v[1], &v[2]) == 3)
            vertices.push_back(v);
        else if (line.starts_with("g "))
            out.objects.emplace_back();
        else if (line.starts_with("l ") || line.starts_with("p "))
            ++out.otherPrimitives;
        else if (line.starts_with("newmtl "))
            out.materials.push_back(line.substr(7));
        else if (line.starts_with("map_Kd "))
            out.textureFiles.push_back(line.substr(7));
        else if (line.starts_with("f ") && !out.objects.empty()) {
            ++out.triangles;
            for (const char* c = line.c_str() + 1; (c = std::strchr(c, ' ')) != nullptr;) {
                const auto index = static_cast<std::size_t>(std::atol(++c));
                if (index < 1 || index > vertices.size()) continue;
                out.objects.back().add(vertices[index - 1]);
                out.all.add(vertices[index - 1]);
            }
        }
    }
    return out;
}

// Full, middle and far detail open with the same objects and materials, in the same
// order, with fewer triangles, and name textures that exist. Items stand on their base
// at y = 0 and are a few units across at the game's scale of 10.
TEST(ModelLevels, OpenWithTheSameMaterialsAndFewerTriangles) {
    for (const std::string stem :
         {"voka_red", "voka", "weapon_mg", "weapon_railgun", "items/powerup25", "items/powerup15",
          "items/ammo_minigun", "items/ammo_rail", "items/amor_50", "items/amor_100"}) {
        SCOPED_TRACE(stem);
        const Read full = read("models/" + stem + ".3ds");
        const Read middle = read("models/" + stem + "_middle.3ds");
        const Read far = read("models/" + stem + "_far.3ds");
        EXPECT_FALSE(full.objects.empty() || full.materials.empty());
        for (const Read* m : {&full, &middle, &far}) {
            // assimp turns degenerate triangles into lines or points.
            EXPECT_EQ(std::make_pair(m->objects.size(), m->otherPrimitives),
                      std::make_pair(full.objects.size(), 0));
            EXPECT_EQ(m->materials, full.materials);
            for (const std::string& file : m->textureFiles)
                EXPECT_TRUE(fs::is_regular_file(gamePath("textures/" + file))) << file;
        }
        EXPECT_TRUE(far.triangles < middle.triangles && middle.triangles < full.triangles);
        EXPECT_TRUE(
            !stem.starts_with("items/") ||
            (std::abs(full.all.min[1]) < 0.05 && full.all.max[1] > 0.25 && full.all.max[1] < 0.8));
    }
}

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
        EXPECT_TRUE(std::abs(b.centre(0) - part.x) < 2e-3 &&
                    std::abs(b.centre(1) - part.y) < 2e-3 &&
                    (std::isnan(part.z) || std::abs(b.centre(2) - part.z) < 2e-3))
            << part.file << " " << b.centre(0) << " " << b.centre(1) << " " << b.centre(2);
    }
    const Bounds rail = read("models/weapon_railgun.3ds").all;
    EXPECT_TRUE(std::abs(rail.min[2] + 0.533) < 1e-3 && rail.max[1] > 0.496);
}

}  // namespace
