// Which features the driver offers, from its version and extension strings alone.
#include <gtest/gtest.h>

#include <tuple>

#include "render/gl_extensions.h"

namespace {

struct CapabilityCase {
    const char* version;
    const char* extensions;
    bool multitexture, fogCoord, vbo;
};

class DecideCapabilities : public ::testing::TestWithParam<CapabilityCase> {};

TEST_P(DecideCapabilities, FromVersionAndWholeNames) {
    const CapabilityCase& c = GetParam();
    const gl_ext::Capabilities has = gl_ext::decideCapabilities(c.version, c.extensions);
    EXPECT_EQ(std::tuple(has.multitexture, has.fogCoord, has.vbo),
              std::tuple(c.multitexture, c.fogCoord, c.vbo));
}

// glFogCoordPointer needs OpenGL 1.4; only whole names count, wherever they stand.
INSTANTIATE_TEST_SUITE_P(
    Drivers, DecideCapabilities,
    ::testing::Values(
        CapabilityCase{"4.5 (Compatibility Profile) Mesa 22.3.6",
                       "GL_ARB_multitexture GL_EXT_fog_coord GL_ARB_vertex_buffer_object", true,
                       true, true},
        CapabilityCase{"1.3.1", "GL_EXT_fog_coord GL_ARB_multitexture", true, false, false},
        CapabilityCase{"1.4", "GL_EXT_fog_coord", false, true, false},
        CapabilityCase{"2.1", "GL_ARB_vertex_buffer_object_rgb32 XGL_EXT_fog_coord", false, false,
                       false},
        CapabilityCase{"2.1", "GL_ARB_multitexture_x GL_ARB_multitexture", true, false, false},
        CapabilityCase{nullptr, "GL_ARB_multitexture", false, false, false}));

}  // namespace
