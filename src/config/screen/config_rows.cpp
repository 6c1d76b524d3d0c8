#include "config/screen/config_rows.h"

#include <cstdio>
#include <cstdlib>

#include "config/settings.h"
#include "net/protocol/game_codes.h"
#include "render/texture.h"

namespace {

std::string yesNo(bool value) {
    return value ? "Yes" : "No";
}
std::string keyText(char key) {
    return key == 0 ? std::string() : std::string(1, key);
}
std::string number(long long value) {
    return std::to_string(value);
}

// The decimal value of the digits typed (at most four, so no overflow).
long digits(const char* entry) {
    return std::strtol(entry, nullptr, 10);
}

std::string resolutionText() {
    static constexpr const char* kNames[] = {"640x480", "800x600", "1024x768", "1280x1024"};
    return kNames[Settings::getResolution()];
}

std::string fovText() {
    const double fov = Settings::getFov();
    // Values from a hand-edited file can be anything; keep the cast defined.
    if (!(fov > -1e9 && fov < 1e9)) return "?";
    return number(static_cast<long long>(fov));
}

std::string playerNameText() {
    char name[Settings::kTextSize];
    Settings::getPlayerName(name);
    return name;
}

std::string serverIpText() {
    char address[Settings::kTextSize];
    Settings::getServerIp(address);
    return address;
}

// A sensitivity of 0 would make the settings file unreadable at the next start.
bool storeSensitivity(const char* entry) {
    const long value = *entry == '\0' ? 5 : digits(entry);
    if (value <= 0) return false;
    Settings::setMouseSensitivity(static_cast<std::int32_t>(value));
    return true;
}

// So would a port of 0.
bool storePort(const char* entry) {
    const long value = *entry == '\0' ? 90 : digits(entry);
    if (value <= 0) return false;
    Settings::setServerPort(static_cast<std::uint16_t>(value));
    return true;
}

// The projection needs a field of view strictly between 0 and 180 degrees.
bool storeFov(const char* entry) {
    const long value = *entry == '\0' ? 90 : digits(entry);
    if (value <= 0 || value >= 180) return false;
    Settings::setFov(static_cast<double>(value));
    return true;
}

constexpr ConfigRow keyRow(const char* label, std::string (*value)(), void (*setKey)(char)) {
    return {label, RowKind::Key, value, nullptr, setKey};
}

constexpr ConfigRow actionRow(const char* label, std::string (*value)(), void (*enter)()) {
    return {label, RowKind::Action, value, enter};
}

constexpr ConfigRow numberRow(const char* label, std::string (*value)(), int maxDigits,
                              bool (*store)(const char*)) {
    return {label, RowKind::Number, value, nullptr, nullptr, maxDigits, store};
}

constexpr ConfigRow kControlRows[] = {
    keyRow(
        "Accelerate:", [] { return keyText(Settings::getKeyForward()); }, Settings::setKeyForward),
    keyRow(
        "Brake:", [] { return keyText(Settings::getKeyBack()); }, Settings::setKeyBack),
    keyRow(
        "Left:", [] { return keyText(Settings::getKeyLeft()); }, Settings::setKeyLeft),
    keyRow(
        "Right:", [] { return keyText(Settings::getKeyRight()); }, Settings::setKeyRight),
    keyRow(
        "Center View:", [] { return keyText(Settings::getKeyCenterView()); },
        Settings::setKeyCenterView),
    keyRow(
        "Rail Gun:", [] { return keyText(Settings::getKeyRailGun()); }, Settings::setKeyRailGun),
    keyRow(
        "Machine Gun:", [] { return keyText(Settings::getKeyMachineGun()); },
        Settings::setKeyMachineGun),
    actionRow(
        "Invert Mouse:", [] { return yesNo(Settings::getInvertMouse()); },
        [] { Settings::setInvertMouse(!Settings::getInvertMouse()); }),
    numberRow(
        "Mouse Senitivity:", [] { return number(Settings::getMouseSensitivity()); }, 3,
        storeSensitivity),
};

constexpr ConfigRow kGameRows[] = {
    {"Playername:", RowKind::Name, playerNameText},
    actionRow(
        "Voka Type:",
        [] { return std::string(Settings::getVokaType() == TYPE_VOKA_RED ? "Red" : "Green"); },
        [] {
            Settings::setVokaType(Settings::getVokaType() == TYPE_VOKA_RED ? TYPE_VOKA_GREEN
                                                                           : TYPE_VOKA_RED);
        }),
    {"Server IP:", RowKind::Address, serverIpText},
    numberRow(
        "Server Port:", [] { return number(Settings::getServerPort()); }, 4, storePort),
    actionRow("Resolution:", resolutionText,
              [] { Settings::setResolution((Settings::getResolution() + 1) % 4); }),
    actionRow(
        "Shadow:", [] { return yesNo(Settings::getShadow()); },
        [] { Settings::setShadow(!Settings::getShadow()); }),
    actionRow(
        "Lensflare:", [] { return yesNo(Settings::getLensflare()); },
        [] { Settings::setLensflare(!Settings::getLensflare()); }),
    actionRow(
        "Motion Blur:", [] { return yesNo(Settings::getMotionBlur()); },
        [] { Settings::setMotionBlur(!Settings::getMotionBlur()); }),
    // Fog and multitexturing cannot be turned on without the driver's support.
    actionRow(
        "Fog:", [] { return yesNo(Settings::getFog()); },
        [] { Settings::setFog(!Settings::getFog() && Settings::getHasFogCoord()); }),
    actionRow(
        "Sound:", [] { return yesNo(Settings::getSound()); },
        [] { Settings::setSound(!Settings::getSound()); }),
    actionRow(
        "Multitexturing:", [] { return yesNo(Settings::getMultitexturing()); },
        [] {
            Settings::setMultitexturing(!Settings::getMultitexturing() &&
                                        Settings::getHasMultitexture());
        }),
    actionRow(
        "Mip Mapping:", [] { return yesNo(Settings::getMipmapping()); },
        [] { Settings::setMipmapping(!Settings::getMipmapping()); }),
    actionRow(
        "Textur Quality:",
        [] { return std::string(textureQualityName(Settings::getTextureQuality())); },
        [] { Settings::setTextureQuality((Settings::getTextureQuality() + 1) % 3); }),
    actionRow(
        "Rendermode:", [] { return std::string(renderModeName(Settings::getRenderMode())); },
        [] {
            const std::int32_t mode = Settings::getRenderMode();
            Settings::setRenderMode(mode == 2 && !Settings::getHasVbo() ? 0 : (mode + 1) % 4);
        }),
    numberRow("FOV:", fovText, 3, storeFov),
    actionRow(
        "Levels of Detail:", [] { return yesNo(Settings::getLod() != 0); },
        [] { Settings::setLod(Settings::getLod() == 0 ? 1 : 0); }),
};

}  // namespace

std::span<const ConfigRow> configRows(std::int32_t page) {
    if (page == ConfigPage::Controls) return kControlRows;
    if (page == ConfigPage::Game) return kGameRows;
    return {};
}

const char* renderModeName(std::int32_t renderMode) {
    static constexpr const char* kNames[] = {"Immediate", "Vertex Array", "Displaylists", "VBO"};
    return renderMode >= 0 && renderMode <= 3 ? kNames[renderMode] : "Unknown";
}
