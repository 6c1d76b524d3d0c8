#include "viewer_app.h"

#include <GL/freeglut.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

#include "config/settings.h"
#include "platform/clock.h"
#include "platform/frame_clock.h"
#include "platform/gl_driver.h"
#include "platform/message_dialog.h"
#include "render/gl_extensions.h"
#include "screenshot.h"
#include "terrain_scene.h"
#include "world/ground_fog.h"
#include "world/terrain.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* modeName(std::int32_t mode) {
    static const char* const kNames[] = {"immediate", "vertex arrays", "display lists",
                                         "buffer objects"};
    return mode >= 0 && mode < 4 ? kNames[mode] : "unknown";
}

const char* onOff(bool value) {
    return value ? "on" : "off";
}

// The state of the one viewer window, for the GLUT callbacks.
struct Viewer {
    ViewerOptions options;
    TerrainScene scene;
    int width = 0;
    int height = 0;
    long frame = 0;  // frames drawn, warm-up included
    Clock::time_point timedStart;
    std::clock_t timedStartCpu = 0;  // processor time of every thread, the driver's included
    Clock::time_point flightStart = Clock::now();
    double terrainTriangles = 0;  // summed over the timed frames
    // The readout: frames counted in the current second.
    Clock::time_point secondStart = Clock::now();
    int framesThisSecond = 0;
    int fps = 0;
    int status = 0;
    std::size_t view = 0;  // the showroom's camera

    bool timed() const { return options.frames > 0; }

    float flightSeconds() const {
        if (options.at) return *options.at;
        if (timed()) {
            const long timedFrame = frame - options.warmup;
            return timedFrame <= 0 ? 0.0f
                                   : fly_path::kLapSeconds * static_cast<float>(timedFrame) /
                                         static_cast<float>(options.frames);
        }
        return std::chrono::duration<float>(Clock::now() - flightStart).count();
    }

    // Frames in the last whole second; before the first one has passed, the rate so far.
    int shownFps() const {
        if (fps > 0) return fps;
        const float seconds = std::chrono::duration<float>(Clock::now() - secondStart).count();
        return seconds > 0.0f ? static_cast<int>(static_cast<float>(framesThisSecond) / seconds)
                              : 0;
    }

    std::string readout() const {
        char text[200];
        std::snprintf(text, sizeof text, "FPS: %d   %s, lod %s, fog %s, culling %s, detail %s%s%s",
                      shownFps(), modeName(Settings::getRenderMode()),
                      onOff(Settings::getLod() != 0), onOff(Settings::getFog()),
                      onOff(Settings::getFrustumCulling()), onOff(Settings::getMultitexturing()),
                      showroom() ? ", shadows " : "",
                      showroom() ? onOff(Settings::getShadow()) : "");
        return text;
    }

    const Showroom* showroom() const { return scene.showroom(); }

    void countSecond() {
        ++framesThisSecond;
        const Clock::time_point now = Clock::now();
        if (now - secondStart >= std::chrono::seconds(1)) {
            fps = framesThisSecond;
            framesThisSecond = 0;
            secondStart = now;
        }
    }

    void finishTimedRun() {
        glFinish();
        const double seconds = std::chrono::duration<double>(Clock::now() - timedStart).count();
        const double cpuSeconds =
            static_cast<double>(std::clock() - timedStartCpu) / CLOCKS_PER_SEC;
        std::printf(
            "voka-viewer: level=%d size=%dx%d mode=%d lod=%s fog=%s culling=%s detail=%s%s%s%s%s "
            "frames=%d seconds=%.3f fps=%.1f ms=%.2f cpu_ms=%.2f triangles=%.0f\n",
            options.level, width, height, Settings::getRenderMode(), onOff(Settings::getLod() != 0),
            onOff(Settings::getFog()), onOff(Settings::getFrustumCulling()),
            onOff(Settings::getMultitexturing()), showroom() ? " view=" : "",
            showroom() ? showroom()->views()[view].name : "", showroom() ? " shadows=" : "",
            showroom() ? onOff(Settings::getShadow()) : "", options.frames, seconds,
            options.frames / seconds, 1000.0 * seconds / options.frames,
            1000.0 * cpuSeconds / options.frames, terrainTriangles / options.frames);
        std::fflush(stdout);
        glutLeaveMainLoop();
    }

    ViewerCamera camera() const {
        if (showroom()) return showroom()->views()[view].camera;
        return cameraAt(flightPose());
    }

    Pose flightPose() const {
        Pose pose = fly_path::at(flightSeconds(), Terrain::instance().heightmap());
        if (options.pitch) pose.rotY = *options.pitch;
        // The level-of-detail grid takes headings from 0 to 360 only.
        if (options.heading)
            pose.rotZ = std::fmod(std::fmod(*options.heading, 360.0f) + 360.0f, 360.0f);
        return pose;
    }

    void display() {
        if (frame == 0) secondStart = Clock::now();
        // The timed frames start here, also when there are no warm-up frames.
        if (timed() && frame == options.warmup) {
            glFinish();
            timedStart = Clock::now();
            timedStartCpu = std::clock();
        }
        FrameClock::tick();
        scene.drawFrame(camera(), readout().c_str());
        const bool timedFrame = timed() && frame >= options.warmup;
        if (timedFrame) terrainTriangles += static_cast<double>(scene.terrainTriangles());
        const bool last = timed() && frame + 1 == options.warmup + options.frames;
        if (last && !options.screenshot.empty() &&
            !writeScreenshot(options.screenshot, width, height)) {
            std::fprintf(stderr, "voka-viewer: could not write %s\n", options.screenshot.c_str());
            status = 1;
        }
        glutSwapBuffers();
        countSecond();
        ++frame;
        if (last) finishTimedRun();
    }

    void key(unsigned char character) {
        switch (character) {
            case 27:
                glutLeaveMainLoop();
                break;
            case 'm':
                Settings::setRenderMode((Settings::getRenderMode() + 1) % 4);
                break;
            case 'l':
                Settings::setLod(Settings::getLod() != 0 ? 0 : 1);
                break;
            case 'f':
                Settings::setFog(!Settings::getFog());
                break;
            case 'c':
                Settings::setFrustumCulling(!Settings::getFrustumCulling());
                break;
            case 't':
                Settings::setMultitexturing(!Settings::getMultitexturing());
                break;
            case 's':
                Settings::setShadow(!Settings::getShadow());
                break;
            case 'v':
                if (showroom()) view = (view + 1) % showroom()->views().size();
                break;
            default:
                break;
        }
    }

    // The showroom's view of the command line. False, after a message, when it has none
    // of that name.
    bool chooseView() {
        if (!showroom() || options.view.empty()) return true;
        const auto& views = showroom()->views();
        for (view = 0; view < views.size(); ++view)
            if (options.view == views[view].name) return true;
        std::string names;
        for (const ShowroomView& v : views) names += std::string(" ") + v.name;
        std::fprintf(stderr, "voka-viewer: no view %s; the layout has:%s\n", options.view.c_str(),
                     names.c_str());
        return false;
    }

    // The game's keys for the two effects.
    static void specialKey(int key) {
        if (key == GLUT_KEY_END) Settings::setCockpit(!Settings::getCockpit());
        if (key == GLUT_KEY_INSERT) Settings::setLensflare(!Settings::getLensflare());
    }
};

Viewer* g_viewer = nullptr;

void onDisplay() {
    g_viewer->display();
}
void onIdle() {
    glutPostRedisplay();
}
void onReshape(int width, int height) {
    g_viewer->width = width;
    g_viewer->height = height;
    g_viewer->scene.resize(width, height);
}
void onKeyboard(unsigned char character, int, int) {
    g_viewer->key(character);
}
void onSpecial(int key, int, int) {
    Viewer::specialKey(key);
}

// The settings of the game directory, then the switches of the command line.
void applySettings(const ViewerOptions& options) {
    Settings::create();
    if (options.renderMode) Settings::setRenderMode(*options.renderMode);
    if (options.lod) Settings::setLod(*options.lod ? 1 : 0);
    if (options.fog) Settings::setFog(*options.fog);
    if (options.culling) Settings::setFrustumCulling(*options.culling);
    if (options.detail) Settings::setMultitexturing(*options.detail);
    if (options.shadow) Settings::setShadow(*options.shadow);
    Settings::setCockpit(options.hud);
    Settings::setLensflare(options.flare);
}

}  // namespace

int runViewer(const ViewerOptions& options, const char* title, platform::DisplayProbe display) {
    platform::initWindowSystemThreads();
    platform::startClock();
    applySettings(options);

    Viewer viewer;
    viewer.options = options;
    g_viewer = &viewer;

    int argc = 1;
    char program[] = "voka-viewer";
    char* argv[] = {program, nullptr};
    glutInitWindowSize(options.width, options.height);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    glutCreateWindow(title);
    platform::pinGlDriver();
    display.reset();
    gl_ext::loadExtensions();
    ground_fog::setUp();
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);

    if (!viewer.scene.load(options.level, options.sky, options.objects) || !viewer.chooseView()) {
        g_viewer = nullptr;
        return 1;
    }
    viewer.width = options.width;
    viewer.height = options.height;
    viewer.scene.resize(options.width, options.height);
    glutDisplayFunc(onDisplay);
    glutReshapeFunc(onReshape);
    glutKeyboardFunc(onKeyboard);
    glutSpecialFunc(onSpecial);
    glutIdleFunc(onIdle);
    glutMainLoop();
    g_viewer = nullptr;
    return viewer.status;
}
