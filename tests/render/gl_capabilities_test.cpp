// Which features the driver offers, from its version and extension strings alone.
#include <gtest/gtest.h>

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
    EXPECT_EQ(has.multitexture, c.multitexture);
    EXPECT_EQ(has.fogCoord, c.fogCoord);
    EXPECT_EQ(has.vbo, c.vbo);
}

INSTANTIATE_TEST_SUITE_P(
    Drivers, DecideCapabilities,
    ::testing::Values(
        CapabilityCase{"4.5 (Compatibility Profile) Mesa 22.3.6",
                       "GL_ARB_multitexture GL_EXT_fog_coord GL_ARB_vertex_buffer_object", true,
                       true, true},
        // glFogCoordPointer is an OpenGL 1.4 name.
        CapabilityCase{"1.3.1", "GL_EXT_fog_coord GL_ARB_multitexture", true, false, false},
        CapabilityCase{"1.4", "GL_EXT_fog_coord", false, true, false},
        // Only whole names count, wherever they stand.
        CapabilityCase{"2.1", "GL_ARB_vertex_buffer_object_rgb32 XGL_EXT_fog_coord", false, false,
                       false},
        CapabilityCase{"2.1", "GL_ARB_multitexture_x GL_ARB_multitexture", true, false, false},
        CapabilityCase{"OpenGL ES 3.2", "GL_ARB_multitexture", false, false, false},
        CapabilityCase{nullptr, "GL_ARB_multitexture", false, false, false},
        CapabilityCase{"2.1", nullptr, false, false, false}));

}  // namespace
