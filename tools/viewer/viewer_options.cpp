#include "viewer_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

const char* const kViewerUsage =
    "usage: voka-viewer [options]\n"
    "Flies a camera over a level's terrain under its sky, as the match draws them.\n"
    "  --game-dir DIR       game directory with level.xml, models/ and textures/ (.)\n"
    "  --level N            level identifier of level.xml (1)\n"
    "  --size WxH           window size (800x600)\n"
    "  --render-mode N      0 immediate, 1 vertex arrays, 2 display lists, 3 buffer objects\n"
    "  --lod on|off         level of detail\n"
    "  --fog on|off         ground fog\n"
    "  --culling on|off     view-frustum culling\n"
    "  --detail on|off      detail texture (multitexturing)\n"
    "  --sky on|off         the sky dome (on)\n"
    "  --hud on|off         the head-up display with sample values (off)\n"
    "  --flare on|off       the lens flare when the sun is in view (off)\n"
    "  --frames N           timed run: N frames over one lap, then print the figures\n"
    "  --warmup N           untimed frames before a timed run (10)\n"
    "  --at SECONDS         hold the camera at this point of the flight\n"
    "  --pitch DEGREES      camera pitch instead of the flight's (negative looks down)\n"
    "  --heading DEGREES    camera heading instead of the flight's (0 along +x)\n"
    "  --screenshot FILE    write the last frame of a timed run as PNG\n"
    "  --objects LAYOUT     the match's objects on the level at fixed cameras instead of\n"
    "                       the flight: lineup (one of each), crowd (a busy match) or\n"
    "                       empty (the crowd's camera without them)\n"
    "  --view NAME          the lineup's camera: vokas, steering, player, arms, items,\n"
    "                       explosions, rail or fence (the first by default)\n"
    "  --shadow on|off      the objects' stencil shadows\n"
    "Switches left out keep the values of the directory's zrv.cfg.\n"
    "Keys: Esc quits; m render mode, l lod, f fog, c culling, t detail texture, s shadows,\n"
    "v next view; End the head-up display, Insert the lens flare.\n";

namespace {

bool parseInt(const char* text, long low, long high, int& out) {
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < low || value > high) return false;
    out = static_cast<int>(value);
    return true;
}

bool parseSwitch(const char* text, std::optional<bool>& out) {
    if (std::strcmp(text, "on") == 0) {
        out = true;
    } else if (std::strcmp(text, "off") == 0) {
        out = false;
    } else {
        return false;
    }
    return true;
}

bool parseFloat(const char* text, std::optional<float>& out) {
    char* end = nullptr;
    const float value = std::strtof(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(value)) return false;
    out = value;
    return true;
}

bool parseLayout(const char* text, std::optional<ShowroomLayout>& out) {
    if (std::strcmp(text, "lineup") == 0) {
        out = ShowroomLayout::LineUp;
    } else if (std::strcmp(text, "crowd") == 0) {
        out = ShowroomLayout::Crowd;
    } else if (std::strcmp(text, "empty") == 0) {
        out = ShowroomLayout::Empty;
    } else {
        return false;
    }
    return true;
}

bool parseSize(const char* text, int& width, int& height) {
    const char* x = std::strchr(text, 'x');
    if (x == nullptr) return false;
    const std::string w(text, static_cast<std::size_t>(x - text));
    return parseInt(w.c_str(), 64, 8192, width) && parseInt(x + 1, 64, 8192, height);
}

}  // namespace

ParsedOptions parseViewerOptions(int argc, const char* const* argv) {
    ParsedOptions parsed;
    ViewerOptions& o = parsed.options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h") {
            parsed.help = true;
            return parsed;
        }
        if (i + 1 >= argc) {
            parsed.error = "missing value after " + name;
            return parsed;
        }
        const char* value = argv[++i];
        bool ok = true;
        if (name == "--game-dir") {
            o.gameDir = value;
        } else if (name == "--level") {
            ok = parseInt(value, -2147483647L, 2147483647L, o.level);
        } else if (name == "--size") {
            ok = parseSize(value, o.width, o.height);
        } else if (name == "--render-mode") {
            int mode = 0;
            ok = parseInt(value, 0, 3, mode);
            if (ok) o.renderMode = mode;
        } else if (name == "--lod") {
            ok = parseSwitch(value, o.lod);
        } else if (name == "--fog") {
            ok = parseSwitch(value, o.fog);
        } else if (name == "--culling") {
            ok = parseSwitch(value, o.culling);
        } else if (name == "--detail") {
            ok = parseSwitch(value, o.detail);
        } else if (name == "--sky" || name == "--hud" || name == "--flare") {
            bool& target = name == "--sky" ? o.sky : name == "--hud" ? o.hud : o.flare;
            std::optional<bool> on;
            ok = parseSwitch(value, on);
            if (ok) target = *on;
        } else if (name == "--frames") {
            ok = parseInt(value, 1, 1000000, o.frames);
        } else if (name == "--warmup") {
            ok = parseInt(value, 0, 100000, o.warmup);
        } else if (name == "--at") {
            ok = parseFloat(value, o.at);
        } else if (name == "--pitch") {
            ok = parseFloat(value, o.pitch);
        } else if (name == "--heading") {
            ok = parseFloat(value, o.heading);
        } else if (name == "--screenshot") {
            o.screenshot = value;
        } else if (name == "--objects") {
            ok = parseLayout(value, o.objects);
        } else if (name == "--view") {
            o.view = value;
        } else if (name == "--shadow") {
            ok = parseSwitch(value, o.shadow);
        } else {
            parsed.error = "unknown option " + name;
            return parsed;
        }
        if (!ok) {
            parsed.error = "bad value for " + name + ": " + value;
            return parsed;
        }
    }
    if (!o.screenshot.empty() && o.frames == 0)
        parsed.error = "--screenshot needs a timed run (--frames N)";
    if (o.objects && (o.at || o.pitch || o.heading))
        parsed.error = "--objects holds its own cameras: no --at, --pitch or --heading";
    if (!o.view.empty() && !o.objects) parsed.error = "--view needs --objects";
    return parsed;
}
