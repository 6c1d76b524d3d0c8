// The reader and the face-neighbour search on the models the game ships, from the
// build's game directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "render/connectivity_reference.h"
#include "render/loader_3ds.h"
#include "render/mesh_geometry.h"
#include "support/captured_errors.h"

namespace {

TEST(GameModels, EveryModelReadsAndItsIndexedNeighbourSearchEqualsThePlainOne) {
    const std::string dir = std::string(VOKA_BINARY_DIR) + "/game/models/";
    testing_support::CapturedErrors errors;
    int files = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir, error)) {
        const std::string file = entry.path().string();
        const std::string ext = entry.path().extension().string();
        if (ext != ".3ds" && ext != ".3DS") continue;
        ++files;
        Model3ds fast;
        ASSERT_TRUE(import3ds(fast, file.c_str())) << file;
        EXPECT_GT(fast.objectCount, 0) << file;
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
    EXPECT_GE(files, 30) << "no game directory at " << dir;
    EXPECT_TRUE(errors.texts().empty()) << errors.texts().front();
}

}  // namespace
