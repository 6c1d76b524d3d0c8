#include "app/debug_keys.h"

#include <GL/freeglut.h>

#include <cstdint>

#include "config/settings.h"
#include "net/player_status.h"
#include "platform/message_box.h"
#include "render/status_message.h"
#include "render/texture.h"

namespace {

struct Toggle {
    int key;
    bool (*get)();
    void (*set)(bool);
    const char* on;
    const char* off;
    DebugGl gl;
};

constexpr Toggle kToggles[] = {
    {GLUT_KEY_F2, Settings::getShowFramerate, Settings::setShowFramerate, "Display Framerate on",
     "Display Framerate off", DebugGl::None},
    {GLUT_KEY_F3, Settings::getWireframe, Settings::setWireframe, "Wireframe Modus on",
     "Wireframe Modus off", DebugGl::PolygonMode},
    {GLUT_KEY_F5, Settings::getMipmapping, Settings::setMipmapping, "MipMapping on",
     "MipMapping off", DebugGl::MipmapLevels},
    {GLUT_KEY_F8, Settings::getFrustumCulling, Settings::setFrustumCulling,
     "Viewfrustum Culling on", "Viewfrustum Culling off", DebugGl::None},
    {GLUT_KEY_F9, Settings::getTransparency, Settings::setTransparency, "Transparenz on",
     "Transparenz off", DebugGl::None},
    {GLUT_KEY_F10, Settings::getShadow, Settings::setShadow, "Shadow on", "Shadow off",
     DebugGl::None},
    {GLUT_KEY_F11, Settings::getMultitexturing, Settings::setMultitexturing, "Multitexturing on",
     "Multitexturing off", DebugGl::None},
    {GLUT_KEY_PAGE_UP, Settings::getBackfaceCulling, Settings::setBackfaceCulling,
     "Backface Culling on", "Backface Culling off", DebugGl::CullFace},
    {GLUT_KEY_PAGE_DOWN, Settings::getMotionBlur, Settings::setMotionBlur, "Motion Blur on",
     "Motion Blur off", DebugGl::None},
    {GLUT_KEY_HOME, Settings::getSound, Settings::setSound, "Sound on", "Sound off", DebugGl::None},
    {GLUT_KEY_END, Settings::getCockpit, Settings::setCockpit, "Cockpit on", "Cockpit off",
     DebugGl::None},
    {GLUT_KEY_INSERT, Settings::getLensflare, Settings::setLensflare, "Lensflare on",
     "Lensflare off", DebugGl::None},
};

// A number stepped round its values, one message per value.
struct Cycle {
    int key;
    std::int32_t (*get)();
    void (*set)(std::int32_t);
    std::int32_t count;
    const char* names[4];
    const char* otherwise;  // error for a value outside 0..count-1; nullptr: no message
    DebugGl gl;
};

constexpr Cycle kCycles[] = {
    {GLUT_KEY_F4,
     Settings::getTextureQuality,
     Settings::setTextureQuality,
     3,
     {"Point Sampling", "Bilinear Sampling", "Trilinear Sampling"},
     nullptr,
     DebugGl::TextureFilters},
    {GLUT_KEY_F6,
     Settings::getRenderMode,
     Settings::setRenderMode,
     4,
     {"Rendermode: Immediate Mode", "Rendermode: Vertex Array", "Rendermode: Displaylist",
      "Rendermode: vbo"},
     "unsupported rendermode",
     DebugGl::None},
    {GLUT_KEY_F7,
     Settings::getLod,
     Settings::setLod,
     2,
     {"LOD: off", "LOD: Full Performance"},
     nullptr,
     DebugGl::None},
};

}  // namespace

std::optional<DebugKeyEffect> toggleDebugSetting(int glutKey) {
    if (glutKey == GLUT_KEY_F1) {
        PlayerStatus::nextCameraOffset();
        return DebugKeyEffect{"Viewpos changed", false, DebugGl::None};
    }
    for (const Toggle& toggle : kToggles) {
        if (toggle.key != glutKey) continue;
        const bool on = !toggle.get();
        toggle.set(on);
        return DebugKeyEffect{on ? toggle.on : toggle.off, false, toggle.gl};
    }
    for (const Cycle& cycle : kCycles) {
        if (cycle.key != glutKey) continue;
        // In 64 bits, so that the largest number steps on instead of overflowing.
        const auto value = static_cast<std::int32_t>((std::int64_t{cycle.get()} + 1) % cycle.count);
        cycle.set(value);
        if (value >= 0) return DebugKeyEffect{cycle.names[value], false, cycle.gl};
        return DebugKeyEffect{cycle.otherwise, cycle.otherwise != nullptr, cycle.gl};
    }
    return std::nullopt;
}

void applyDebugGl(DebugGl what) {
    switch (what) {
        case DebugGl::PolygonMode:
            glPolygonMode(GL_FRONT_AND_BACK, Settings::getWireframe() ? GL_LINE : GL_FILL);
            break;
        case DebugGl::TextureFilters:
            applyTextureQuality(Settings::getTextureQuality());
            break;
        case DebugGl::MipmapLevels:
            applyMipmapLevels(Settings::getMipmapping());
            break;
        case DebugGl::CullFace:
            if (Settings::getBackfaceCulling()) {
                glEnable(GL_CULL_FACE);
            } else {
                glDisable(GL_CULL_FACE);
            }
            break;
        case DebugGl::None:
            break;
    }
}

void debugKey(int glutKey) {
    const std::optional<DebugKeyEffect> effect = toggleDebugSetting(glutKey);
    if (!effect) return;
    applyDebugGl(effect->gl);
    if (effect->message == nullptr) return;
    if (effect->error) {
        showError(effect->message);
    } else {
        showStatusMessage(effect->message);
    }
}
