// Which features the driver offers, from its version and extension strings alone.
#include <gtest/gtest.h>

#include <tuple>

#include "render/gl_extensions.h"

namespace {

// glFogCoordPointer needs OpenGL 1.4; only whole names count, wherever they stand.
TEST(DecideCapabilities, FromVersionAndWholeNames) {
    // version, extensions, and multitexturing, fog coordinates and buffer objects offered
    const std::tuple<const char*, const char*, bool, bool, bool> drivers[] = {
        {"4.5 (Compatibility Profile) Mesa 22.3.6",
         "GL_ARB_multitexture GL_EXT_fog_coord GL_ARB_vertex_buffer_object", true, true, true},
        {"1.3.1", "GL_EXT_fog_coord GL_ARB_multitexture", true, false, false},
        {"1.4", "GL_EXT_fog_coord", false, true, false},
        {"2.1", "GL_ARB_vertex_buffer_object_rgb32 XGL_EXT_fog_coord", false, false, false},
        {"2.1", "GL_ARB_multitexture_x GL_ARB_multitexture", true, false, false},
        {nullptr, "GL_ARB_multitexture", false, false, false}};
    for (const auto& [version, extensions, multitexture, fogCoord, vbo] : drivers) {
        const gl_ext::Capabilities has = gl_ext::decideCapabilities(version, extensions);
        EXPECT_EQ(std::tuple(has.multitexture, has.fogCoord, has.vbo),
                  std::tuple(multitexture, fogCoord, vbo))
            << extensions;
    }
}

}  // namespace
