#include "config/settings.h"

#include <cstring>

#include "platform/message_box.h"

constinit Settings Settings::s_instance{};

namespace {

struct Resolution {
    std::int32_t width;
    std::int32_t height;
};

constexpr Resolution kResolutions[] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}};

}  // namespace

void Settings::copyText(char (&field)[kTextSize], const char* text) {
    std::memset(field, 0, sizeof field);
    if (text != nullptr) std::strncpy(field, text, kTextSize - 1);
}

void Settings::resetStartValues() {
    s_instance = Settings{};
}

void Settings::create() {
    resetStartValues();
    if (s_instance.readFile() != 0) showError("Error loading config file!");
}

void Settings::load() {
    s_instance.readFile();
}

void Settings::save() {
    if (s_instance.writeFile() != 0) showError("could not write the config file zrv.cfg");
}

void Settings::getPlayerName(char* out) {
    const Settings& s = s_instance;
    std::memcpy(out, s.playerNameOverride[0] != '\0' ? s.playerNameOverride : s.playerName,
                kTextSize);
}
void Settings::setPlayerName(const char* name) {
    copyText(s_instance.playerName, name);
    copyText(s_instance.playerNameOverride, nullptr);
}
void Settings::overridePlayerName(const char* name) {
    copyText(s_instance.playerNameOverride, name);
}
void Settings::getServerIp(char* out) {
    const Settings& s = s_instance;
    std::memcpy(out, s.serverIpOverride[0] != '\0' ? s.serverIpOverride : s.serverIp, kTextSize);
}
void Settings::setServerIp(const char* address) {
    copyText(s_instance.serverIp, address);
    copyText(s_instance.serverIpOverride, nullptr);
}
void Settings::overrideServerIp(const char* address) {
    copyText(s_instance.serverIpOverride, address);
}

void Settings::setResolution(std::int32_t index) {
    if (index < 0 || index > 3) return;
    s_instance.windowWidth = kResolutions[index].width;
    s_instance.windowHeight = kResolutions[index].height;
}

std::int32_t Settings::getResolution() {
    switch (s_instance.windowWidth) {
        case 640:
            return 0;
        case 1024:
            return 2;
        case 1280:
            return 3;
        default:
            return 1;
    }
}
