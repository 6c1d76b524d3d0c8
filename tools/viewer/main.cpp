// voka-viewer: the level's terrain, sky and fog seen from a camera flying a fixed lap,
// with a frames-per-second readout; for looking at levels and timing the renderer.
#include <unistd.h>

#include <cstdio>
#include <utility>

#include "platform/display_probe.h"
#include "viewer_app.h"
#include "viewer_options.h"

int main(int argc, char** argv) {
    const ParsedOptions parsed = parseViewerOptions(argc, argv);
    if (parsed.help) {
        std::fputs(kViewerUsage, stdout);
        return 0;
    }
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "voka-viewer: %s\n%s", parsed.error.c_str(), kViewerUsage);
        return 2;
    }
    if (chdir(parsed.options.gameDir.c_str()) != 0) {
        std::fprintf(stderr, "voka-viewer: cannot enter the game directory %s\n",
                     parsed.options.gameDir.c_str());
        return 1;
    }
    platform::DisplayProbe probe = platform::openDisplay();
    if (!probe) {
        std::fprintf(stderr, "voka-viewer: no X display available: set DISPLAY\n");
        return 1;
    }
    return runViewer(parsed.options, argv[0], std::move(probe));
}
