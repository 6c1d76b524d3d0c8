#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The one store of every user setting and rendering switch. Everything else reads and
// changes settings through the static getters and setters below; only the file reader
// checks values. The configuration screen edits in place, then saves or reloads.
class Settings {
  public:
    static constexpr int kTextSize = 51;  // name and address: 50 characters and a NUL
    static constexpr const char* kFileName = "zrv.cfg";
    static constexpr int kKeyCount = 25;

    // Builds the instance: sets the start values, then reads zrv.cfg from the working
    // directory and shows "Error loading config file!" when that fails.
    static void create();
    // Puts every field back to its start value (as before the file is read).
    static void resetStartValues();
    // Reads the file again over the current values; the reader has shown its own message.
    static void load();
    // Writes the file; tells the player when it could not be written.
    static void save();

    // 0 when the file was read completely and every check passed, -1 otherwise.
    // Values read before a failure stay applied.
    int readFile(const char* path = kFileName);
    // The same over the bytes of a file, read as readFile reads them.
    int readText(std::string_view bytes);
    // 0 when the file was written, -1 when it could not be.
    int writeFile(const char* path = kFileName) const;
    // The text that writeFile writes.
    std::string formatText() const;

    static Settings& instance() { return s_instance; }

    static bool getCockpit() { return s_instance.cockpit; }
    static void setCockpit(bool v) { s_instance.cockpit = v; }
    static bool getWireframe() { return s_instance.wireframe; }
    static void setWireframe(bool v) { s_instance.wireframe = v; }
    static bool getShadow() { return s_instance.shadow; }
    static void setShadow(bool v) { s_instance.shadow = v; }
    static bool getMotionBlur() { return s_instance.motionBlur; }
    static void setMotionBlur(bool v) { s_instance.motionBlur = v; }
    static bool getSound() { return s_instance.sound; }
    static void setSound(bool v) { s_instance.sound = v; }
    // Copies the name with its NUL into `out`, which must hold kTextSize bytes.
    static void getPlayerName(char* out);
    // Keeps at most 50 characters of `name`.
    static void setPlayerName(const char* name);
    static std::int32_t getVokaType() { return s_instance.vokaType; }
    static void setVokaType(std::int32_t v) { s_instance.vokaType = v; }
    static bool getInvertMouse() { return s_instance.invertMouse; }
    static void setInvertMouse(bool v) { s_instance.invertMouse = v; }
    static char getKeyForward() { return s_instance.keyForward; }
    static void setKeyForward(char v) { s_instance.keyForward = v; }
    static char getKeyBack() { return s_instance.keyBack; }
    static void setKeyBack(char v) { s_instance.keyBack = v; }
    static char getKeyLeft() { return s_instance.keyLeft; }
    static void setKeyLeft(char v) { s_instance.keyLeft = v; }
    static char getKeyRight() { return s_instance.keyRight; }
    static void setKeyRight(char v) { s_instance.keyRight = v; }
    static char getKeyMachineGun() { return s_instance.keyMachineGun; }
    static void setKeyMachineGun(char v) { s_instance.keyMachineGun = v; }
    static char getKeyRailGun() { return s_instance.keyRailGun; }
    static void setKeyRailGun(char v) { s_instance.keyRailGun = v; }
    static char getKeyCenterView() { return s_instance.keyCenterView; }
    static void setKeyCenterView(char v) { s_instance.keyCenterView = v; }
    static std::int32_t getMouseSensitivity() { return s_instance.mouseSensitivity; }
    static void setMouseSensitivity(std::int32_t v) { s_instance.mouseSensitivity = v; }
    static std::int32_t getWindowHeight() { return s_instance.windowHeight; }
    static std::int32_t getWindowWidth() { return s_instance.windowWidth; }
    static std::uint16_t getServerPort() {
        return s_instance.serverPortOverride != 0 ? s_instance.serverPortOverride
                                                  : s_instance.serverPort;
    }
    static void setServerPort(std::uint16_t v) {
        s_instance.serverPort = v;
        s_instance.serverPortOverride = 0;
    }
    // Copies the address with its NUL into `out`, which must hold kTextSize bytes.
    static void getServerIp(char* out);
    // Keeps at most 50 characters of `address`.
    static void setServerIp(const char* address);
    static double getFov() { return s_instance.fov; }
    static void setFov(double v) { s_instance.fov = v; }
    static bool getBackfaceCulling() { return s_instance.backfaceCulling; }
    static void setBackfaceCulling(bool v) { s_instance.backfaceCulling = v; }
    static std::int32_t getFragLimit() { return s_instance.fragLimit; }
    static bool getMultitexturing() { return s_instance.multitexturing; }
    static void setMultitexturing(bool v) { s_instance.multitexturing = v; }
    static std::int32_t getDetailTextureScale() { return s_instance.detailTextureScale; }
    static void setDetailTextureScale(std::int32_t v) { s_instance.detailTextureScale = v; }
    static bool getFog() { return s_instance.fog; }
    static void setFog(bool v) { s_instance.fog = v; }
    static bool getLensflare() { return s_instance.lensflare; }
    static void setLensflare(bool v) { s_instance.lensflare = v; }
    static bool getFrustumCulling() { return s_instance.frustumCulling; }
    static void setFrustumCulling(bool v) { s_instance.frustumCulling = v; }
    static bool getShowFramerate() { return s_instance.showFramerate; }
    static void setShowFramerate(bool v) { s_instance.showFramerate = v; }
    static bool getMipmapping() { return s_instance.mipmapping; }
    static void setMipmapping(bool v) { s_instance.mipmapping = v; }
    static std::int32_t getRenderMode() { return s_instance.renderMode; }
    static void setRenderMode(std::int32_t v) { s_instance.renderMode = v; }
    static bool getHasMultitexture() { return s_instance.hasMultitexture; }
    static void setHasMultitexture(bool v) { s_instance.hasMultitexture = v; }
    static bool getHasVbo() { return s_instance.hasVbo; }
    static void setHasVbo(bool v) { s_instance.hasVbo = v; }
    static bool getHasFogCoord() { return s_instance.hasFogCoord; }
    static void setHasFogCoord(bool v) { s_instance.hasFogCoord = v; }
    static std::int32_t getLod() { return s_instance.lod; }
    static void setLod(std::int32_t v) { s_instance.lod = v; }
    static std::int32_t getTextureQuality() { return s_instance.textureQuality; }
    static void setTextureQuality(std::int32_t v) { s_instance.textureQuality = v; }
    static bool getTransparency() { return s_instance.transparency; }
    static void setTransparency(bool v) { s_instance.transparency = v; }

    // Values of the command line laid over the file's for one run: the getters return
    // them, the file writer never sees them and reading the file again keeps them. A
    // change through the setter (the configuration screen) replaces the override.
    static void overrideServerIp(const char* address);
    static void overrideServerPort(std::uint16_t port) { s_instance.serverPortOverride = port; }
    static void overridePlayerName(const char* name);

    // Window size from the resolution index 0..3 (640x480, 800x600, 1024x768,
    // 1280x1024); any other index changes nothing.
    static void setResolution(std::int32_t index);
    // The index derived from the width alone: 640 -> 0, 1024 -> 2, 1280 -> 3, else 1.
    static std::int32_t getResolution();

  private:
    constexpr Settings() = default;

    // Keeps the first kTextSize - 1 characters of `text` (nullptr: empty) with a NUL.
    static void copyText(char (&field)[kTextSize], const char* text);

    // Start values, in the store's field order. The instance is constant-initialised,
    // so nothing runs before main; create() sets these again and reads the file.
    bool cockpit = true;
    bool wireframe = false;
    bool shadow = false;
    bool motionBlur = false;
    bool sound = false;
    char playerName[kTextSize] = {};
    std::int32_t vokaType = 0;
    bool invertMouse = false;
    char keyForward = 0;
    char keyBack = 0;
    char keyLeft = 0;
    char keyRight = 0;
    char keyMachineGun = 0;
    char keyRailGun = 0;
    char keyCenterView = 0;
    std::int32_t mouseSensitivity = 0;
    std::int32_t windowHeight = 0;
    std::int32_t windowWidth = 0;
    std::uint16_t serverPort = 0;
    char serverIp[kTextSize] = {};
    double fov = 0.0;
    bool backfaceCulling = true;
    std::int32_t fragLimit = 30;
    bool multitexturing = false;
    std::int32_t detailTextureScale = 16;
    bool fog = false;
    bool lensflare = false;
    bool frustumCulling = true;
    bool showFramerate = true;
    bool mipmapping = false;
    std::int32_t renderMode = 0;
    bool hasMultitexture = true;
    bool hasVbo = true;
    bool hasFogCoord = true;
    std::int32_t lod = 1;
    std::int32_t textureQuality = 0;
    bool transparency = true;
    // Command-line overrides; empty or 0 when there is none.
    char serverIpOverride[kTextSize] = {};
    std::uint16_t serverPortOverride = 0;
    char playerNameOverride[kTextSize] = {};

    friend class SettingsReader;
    friend class SettingsWriter;

    static Settings s_instance;
};
