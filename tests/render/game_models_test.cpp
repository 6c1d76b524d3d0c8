// The reader and the face-neighbour search on the models the game ships, from the
// build's game directory.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "render/connectivity_reference.h"
#include "render/loader_3ds.h"
#include "render/mesh_geometry.h"
#include "support/captured_errors.h"

namespace {

const std::string kModels = std::string(VOKA_BINARY_DIR) + "/game/models/";

std::vector<std::string> modelFiles() {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kModels, error)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".3ds" || ext == ".3DS") files.push_back(entry.path().string());
    }
    return files;
}

TEST(GameModels, EveryModelReadsWithoutAMessage) {
    testing_support::CapturedErrors errors;
    const auto files = modelFiles();
    ASSERT_GE(files.size(), 30u) << "no game directory at " << kModels;
    for (const std::string& file : files) {
        Model3ds model;
        EXPECT_TRUE(import3ds(model, file.c_str())) << file;
        EXPECT_GT(model.objectCount, 0) << file;
    }
    EXPECT_TRUE(errors.texts().empty()) << errors.texts().front();
}

TEST(GameModels, IndexedNeighbourSearchEqualsThePlainOne) {
    for (const std::string& file : modelFiles()) {
        Model3ds fast;
        ASSERT_TRUE(import3ds(fast, file.c_str())) << file;
        Model3ds plain = fast;
        buildConnectivity(fast);
        for (auto& object : plain.objects) buildConnectivityPlain(object);
        for (std::size_t o = 0; o < fast.objects.size(); ++o) {
            const auto& a = fast.objects[o].faces;
            const auto& b = plain.objects[o].faces;
            for (std::size_t f = 0; f < a.size(); ++f)
                for (int k = 0; k < 3; ++k)
                    ASSERT_EQ(a[f].neighbour[k], b[f].neighbour[k])
                        << file << " object " << o << " face " << f;
        }
    }
}

TEST(GameModels, VokaLevelsShareMaterialOrderAndWheelObjects) {
    for (const char* base : {"voka_red", "voka"}) {
        Model3ds levels[3];
        const std::string files[3] = {kModels + base + ".3ds", kModels + base + "_middle.3ds",
                                      kModels + base + "_far.3ds"};
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(import3ds(levels[i], files[i].c_str())) << files[i];
        std::size_t faces[3] = {};
        for (int i = 0; i < 3; ++i) {
            // Objects 3 and 4 are the wheel sets that turn.
            ASSERT_GE(levels[i].objectCount, 5) << files[i];
            ASSERT_EQ(levels[i].materialCount, levels[0].materialCount) << files[i];
            for (int m = 0; m < levels[0].materialCount; ++m)
                EXPECT_STREQ(levels[i].materials[m].name, levels[0].materials[m].name) << files[i];
            for (const auto& object : levels[i].objects) faces[i] += object.faces.size();
        }
        EXPECT_LT(faces[1], faces[0]);
        EXPECT_LT(faces[2], faces[1]);
        // A closed body casts a clean shadow: no open edge on the full model.
        buildConnectivity(levels[0]);
        for (const auto& object : levels[0].objects)
            for (const auto& face : object.faces)
                for (int n : face.neighbour) EXPECT_GE(n, 0) << base << " " << object.name;
    }
}

}  // namespace
