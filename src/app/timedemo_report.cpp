#include "app/timedemo_report.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <numeric>

#include "config/screen/config_rows.h"
#include "config/settings.h"

TimedemoFigures timedemoFigures(const std::vector<double>& frameSeconds, double processorSeconds) {
    TimedemoFigures figures;
    figures.frames = frameSeconds.size();
    if (frameSeconds.empty()) return figures;
    figures.seconds = std::accumulate(frameSeconds.begin(), frameSeconds.end(), 0.0);
    std::vector<double> slowest = frameSeconds;
    const std::size_t count = std::max<std::size_t>(1, slowest.size() / 100);
    std::partial_sort(slowest.begin(), slowest.begin() + static_cast<std::ptrdiff_t>(count),
                      slowest.end(), std::greater<>());
    const double slowSeconds =
        std::accumulate(slowest.begin(), slowest.begin() + static_cast<std::ptrdiff_t>(count), 0.0);
    if (figures.seconds > 0.0)
        figures.averageFps = static_cast<double>(figures.frames) / figures.seconds;
    if (slowSeconds > 0.0) figures.lowFps = static_cast<double>(count) / slowSeconds;
    figures.processorMs = processorSeconds * 1000.0 / static_cast<double>(figures.frames);
    return figures;
}

TimedemoSettings timedemoSettings(int width, int height) {
    return {width,
            height,
            Settings::getRenderMode(),
            Settings::getShadow(),
            Settings::getFog(),
            Settings::getLensflare(),
            Settings::getMotionBlur(),
            Settings::getLod() != 0};
}

std::string timedemoLine(const TimedemoFigures& figures, const TimedemoSettings& settings) {
    const auto onOff = [](bool on) { return on ? "on" : "off"; };
    char line[320];
    std::snprintf(line, sizeof line,
                  "timedemo: %zu frames, %.2f s, %.1f fps average, %.1f fps 1%% low; %dx%d, "
                  "render mode %s, shadows %s, fog %s, lens flare %s, blur %s, lod %s; %.1f ms of "
                  "processor time a frame",
                  figures.frames, figures.seconds, figures.averageFps, figures.lowFps,
                  settings.width, settings.height, renderModeName(settings.renderMode),
                  onOff(settings.shadows), onOff(settings.fog), onOff(settings.lensFlare),
                  onOff(settings.blur), onOff(settings.lod), figures.processorMs);
    return line;
}

std::string writeFrameTimes(const std::string& path, const std::vector<double>& frameSeconds) {
    const auto failed = [&path] {
        return "could not write the frame times to " + path + ": " + std::strerror(errno);
    };
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return failed();
    bool written = true;
    for (double seconds : frameSeconds)
        written = written && std::fprintf(file, "%.6f\n", seconds) > 0;
    // A full disk may only show when the buffer goes out at the close.
    written = std::fclose(file) == 0 && written;
    return written ? std::string() : failed();
}
