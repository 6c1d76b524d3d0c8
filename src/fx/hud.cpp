#include "fx/hud.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>

#include "config/settings.h"
#include "fx/engine_sound.h"
#include "net/protocol/game_codes.h"
#include "platform/frame_clock.h"
#include "render/draw_2d.h"
#include "render/shared_textures.h"
#include "render/status_message.h"
#include "render/texture.h"
#include "world/level_registry.h"

namespace {

// The map rectangle in 2D units; the world's 1600 units span its 0.3 width and height.
constexpr float kMapLeft = 0.6f;
constexpr float kMapRight = 0.9f;
constexpr float kMapBottom = 0.55f;
constexpr float kMapTop = 0.85f;
constexpr double kMapSide = 0.3;

constexpr std::uint8_t kRed[4] = {255, 0, 0, 255};
constexpr std::uint8_t kGreen[4] = {0, 255, 0, 255};
constexpr std::uint8_t kBlue[4] = {0, 0, 255, 255};
constexpr std::uint8_t kYellow[4] = {255, 255, 0, 255};

// Health is red, ammunition green, armor blue; nothing for an unknown code.
const std::uint8_t* blipColour(std::uint8_t typeCode) {
    switch (typeCode) {
        case ITEM_POWER25:
        case ITEM_POWER15:
            return kRed;
        case ITEM_AMMO_MG:
        case ITEM_AMMO_RAIL:
            return kGreen;
        case ITEM_AMOR_50:
        case ITEM_AMOR_100:
            return kBlue;
        default:
            return nullptr;
    }
}

bool finite(MapPoint p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// The jitter's generator: the classic 15-bit linear congruential one (values 0 to
// 32767), seeded afresh each frame with the frame time in units of 10 microseconds. It is
// our own, so that the rest of the game's random numbers are not reseeded every frame.
std::int32_t engineJitter(float frameTime) {
    const float scaled = frameTime * 100000.0f;
    const bool usable = std::isfinite(scaled) && std::fabs(scaled) < 2147483648.0f;
    const auto seed = usable ? static_cast<std::uint32_t>(static_cast<std::int64_t>(scaled)) : 0u;
    const std::uint32_t next = seed * 1103515245u + 12345u;
    const std::uint32_t r = (next / 65536u) % 32768u;
    return static_cast<std::int32_t>(static_cast<double>(r) / 32767.0 * 100.0);
}

// Places the next line and returns its buffer, HudLine::kSize bytes.
char* nextLine(HudText& out, float x, float y) {
    HudLine& line = out.lines[out.count++];
    line.x = x;
    line.y = y;
    return line.text;
}

}  // namespace

MapPoint worldToMap(float x, float y) {
    const auto round = [](double v) { return static_cast<double>(static_cast<float>(v)); };
    double mx = round(-static_cast<double>(x) * 0.00125);
    double my = round(static_cast<double>(y) * 0.00125);
    mx = round(mx + 1.0);
    my = round(my - 1.0);
    mx = round(mx * kMapSide / 2.0);
    my = round(my * kMapSide / 2.0);
    return {static_cast<float>(mx + 0.75), static_cast<float>(my + 0.7)};
}

std::optional<MapSegment> headingLine(const float eye[4], const float aim[4]) {
    const MapPoint from = worldToMap(eye[0], eye[1]);
    double dx = aim[0];
    double dy = aim[1];
    const double dz = aim[2];
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (length > 0.0) {
        dx /= length;
        dy /= length;
    }
    const MapPoint to{static_cast<float>(from.x - dx * kMapSide / 3.0),
                      static_cast<float>(from.y + dy * kMapSide / 3.0)};
    if (!finite(from) || !finite(to)) return std::nullopt;
    return MapSegment{from, to};
}

std::int32_t gear(std::int32_t speedKmh) {
    // In 64 bits: the lowest speed minus one would not fit.
    return static_cast<std::int32_t>((static_cast<std::int64_t>(speedKmh) - 1) / 30 + 1);
}

std::int32_t engineSpeed(std::int32_t speedKmh, float frameTime) {
    return speedKmh % 30 * 200 + engineJitter(frameTime) + 2000;
}

HudText hudText(const HudInput& in, std::int32_t fps, float frameTime, bool showFramerate,
                std::int32_t fragLimit) {
    HudText out;
    constexpr std::size_t n = HudLine::kSize;
    std::snprintf(nextLine(out, -0.9f, 0.9f), n, "Speed: %d km/h", in.speed);
    if (showFramerate) std::snprintf(nextLine(out, 0.7f, 0.9f), n, "FPS: %d", fps);
    std::snprintf(nextLine(out, -0.4f, 0.9f), n, "%d rpm", engineSpeed(in.speed, frameTime));
    out.engineLine = out.count - 1;
    std::snprintf(nextLine(out, 0.1f, 0.9f), n, "gear: %d", gear(in.speed));
    std::snprintf(nextLine(out, 0.6f, -0.7f), n, "Health: %d", in.health);
    std::snprintf(nextLine(out, 0.6f, -0.8f), n, "Amor: %d", in.armor);
    std::snprintf(nextLine(out, 0.6f, -0.9f), n, "Frags: %d/%d", in.frags, fragLimit);
    std::snprintf(nextLine(out, -0.8f, -0.9f), n, "Ammo: %d", in.ammo);
    return out;
}

std::vector<ItemBlip> itemBlips(const Level* level) {
    std::vector<ItemBlip> blips;
    if (level == nullptr) return blips;
    for (const Placement& item : level->itemsById()) {
        const MapPoint at = worldToMap(item.pose.x, item.pose.y);
        blips.push_back({item.type, at.x, at.y});
    }
    return blips;
}

Hud::Hud() {
    loadTexture(names_, "./textures/CrossHairMask.bmp", CrosshairMask);
    loadTexture(names_, "./textures/CrossHair.bmp", Crosshair);
    loadTexture(names_, "./textures/railgun.tga", RailIcon);
    loadTexture(names_, "./textures/mg.tga", MgIcon);
    names_[Map] = SharedTextures::get(SharedTextures::kTerrain);
    const LevelRegistry& levels = LevelRegistry::instance();
    blips_ = itemBlips(levels.getLevel(levels.currentLevel()));
}

void Hud::draw(const HudInput& in) {
    if (!Settings::getCockpit()) return;
    Overlay2d overlay;
    // The display lies on the glass, not in the ground fog.
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1.0f, 0.0f, 0.0f);
    const HudText text = hudText(in, FrameClock::getFps(), FrameClock::getFrameTime(),
                                 Settings::getShowFramerate(), Settings::getFragLimit());
    for (int i = 0; i < text.count; ++i) {
        drawText(text.lines[i].x, text.lines[i].y, text.lines[i].text);
        if (i == text.engineLine) updateEngineSound(in.speed);
    }
    drawStatusMessage(-0.7f, 0.8f);
    drawCrosshairAndIcon(in.weapon);
    drawMap(in);
}

void Hud::drawCrosshairAndIcon(std::int32_t weapon) const {
    // With blending the mask darkens the scene where the crosshair's rim goes, then the
    // crosshair and the icon are added; without it each is drawn opaque over the last.
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    if (Settings::getTransparency()) glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, names_[CrosshairMask]);
    drawTexturedRect(-0.3f, 0.3f, 0.3f, -0.3f);
    glBlendFunc(GL_ONE, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, names_[Crosshair]);
    drawTexturedRect(-0.3f, 0.3f, 0.3f, -0.3f);
    glBindTexture(GL_TEXTURE_2D, names_[weapon == WEAPON_RAIL ? RailIcon : MgIcon]);
    drawTexturedRect(-0.9f, -0.6f, -0.5f, -0.8f);
}

void Hud::drawMap(const HudInput& in) const {
    if (names_[Map] != 0) {
        glBlendFunc(GL_SRC_COLOR, GL_ONE);
        glBindTexture(GL_TEXTURE_2D, names_[Map]);
        // The terrain texture turned by 180 degrees: its first texel at the top right.
        drawTexturedQuad(kMapRight, kMapBottom, kMapRight, kMapTop, kMapLeft, kMapTop, kMapLeft,
                         kMapBottom);
    }
    // The markers and the heading in their own colours, not tinted by a texel of the map.
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    for (const ItemBlip& blip : blips_) {
        const std::uint8_t* colour = blipColour(blip.typeCode);
        if (colour != nullptr && finite({blip.x, blip.y})) drawMarker(blip.x, blip.y, colour);
    }
    const MapPoint own = worldToMap(in.eye[0], in.eye[1]);
    if (finite(own)) drawMarker(own.x, own.y, kYellow);
    const std::optional<MapSegment> heading = headingLine(in.eye, in.aim);
    if (!heading) return;
    glColor4ubv(kYellow);
    glBegin(GL_LINES);
    glVertex2f(heading->from.x, heading->from.y);
    glVertex2f(heading->to.x, heading->to.y);
    glEnd();
}
