// Reading and writing zrv.cfg.
//
// The file is a flat run of alternating key and value tokens separated by white space
// (TAB, space, LF); line structure does not matter and there is no comment syntax.
// A token is the longest run of [A-Za-z0-9_.]. All 25 keys are required, each once.
//
// Limits: the file is read up to 5000 bytes and anything beyond is not read; a token
// keeps its first 199 characters (the rest of the run is consumed, not reparsed);
// the player name and the server address keep their first 50 characters.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "config/settings.h"
#include "net/protocol/game_codes.h"
#include "platform/message_box.h"
#include "platform/replace_file.h"

namespace {

constexpr std::size_t kMaxFileBytes = 5000;
constexpr std::size_t kMaxTokenChars = 199;

constexpr const char* kMsgDouble = "double definition in config file";
constexpr const char* kMsgUnknown = "unknown string in config file";
constexpr const char* kMsgBool = "value in config file must be true or false";
constexpr const char* kMsgSensitivity = "sensitivity must be greater than 0";
constexpr const char* kMsgPortLow = "server_port must be greater than 0";
constexpr const char* kMsgPortHigh = "server_port must be lower than 65000";
constexpr const char* kMsgMissing = "missing parameter";
constexpr const char* kMsgNoValue = "missing value in config file";

// The keys in the order of their "seen" flags; the reader matches them in this order.
constexpr const char* kKeys[Settings::kKeyCount] = {
    "action_fwd", "action_back", "action_left", "action_right", "action_centerview",
    "weapon_7",   "weapon_2",    "invert",      "sensitivity",  "playername",
    "vokatype",   "server_ip",   "server_port", "resolution",   "shadow",
    "lensflare",  "blur",        "fog",         "sound",        "multitexturing",
    "mipmapping", "texturqual",  "rendermode",  "fov",          "lod"};

bool isSpace(char c) {
    return c == '\t' || c == ' ' || c == '\n';
}

bool isTokenChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '.';
}

// Leading decimal digits, saturating at `limit`; 0 when the token starts with no digit.
std::uint32_t leadingNumber(std::string_view token, std::uint32_t limit) {
    std::uint64_t value = 0;
    for (char c : token) {
        if (c < '0' || c > '9') break;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > limit) return limit;
    }
    return static_cast<std::uint32_t>(value);
}

std::int32_t signedNumber(std::string_view token) {
    return static_cast<std::int32_t>(leadingNumber(token, 2147483647u));
}

// The part of the file that is read; false when it cannot be opened.
bool readHead(const char* path, std::string& bytes) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    char raw[kMaxFileBytes];
    const std::size_t count = std::fread(raw, 1, sizeof raw, file);
    std::fclose(file);
    bytes.assign(raw, count);
    return true;
}

// The bytes as a text-mode stream delivers them: CR LF arrives as LF.
std::string asText(std::string_view bytes) {
    bytes = bytes.substr(0, kMaxFileBytes);
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text.push_back(bytes[i]);
    }
    return text;
}

// Keys whose value is kept as text: the seven bindings, the name and the address.
bool takesText(int index) {
    return index < 7 || index == 9 || index == 11;
}

}  // namespace

// Applies the tokens of one settings text to the store, reporting the first fault.
class SettingsReader {
  public:
    SettingsReader(Settings& settings, std::string_view text) : s_(settings), text_(text) {}

    int run() {
        bool seen[Settings::kKeyCount] = {};
        while (pos_ < text_.size()) {
            skipSpace();
            const std::string key = token();
            skipSpace();
            const std::string value = token();
            int index = -1;
            for (int i = 0; i < Settings::kKeyCount; ++i) {
                if (key == kKeys[i]) {
                    index = i;
                    break;
                }
            }
            if (index < 0) return fail(kMsgUnknown);
            if (seen[index]) return fail(kMsgDouble);
            seen[index] = true;
            // A text value that is missing (at the end of the file, or cut off by a
            // character outside the token set) leaves the old value alone: an empty
            // binding would be written back as a NUL, an empty name as nothing at all.
            if (value.empty() && takesText(index))
                return fail(pos_ < text_.size() ? kMsgUnknown : kMsgNoValue);
            if (const char* message = apply(index, value)) return fail(message);
            skipSpace();
        }
        for (bool wasSeen : seen) {
            if (!wasSeen) return fail(kMsgMissing);
        }
        return 0;
    }

  private:
    static int fail(const char* message) {
        showError(message);
        return -1;
    }

    void skipSpace() {
        while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
    }

    std::string token() {
        std::string result;
        while (pos_ < text_.size() && isTokenChar(text_[pos_])) {
            if (result.size() < kMaxTokenChars) result.push_back(text_[pos_]);
            ++pos_;
        }
        return result;
    }

    // Sets a boolean from "true"/"false"; false when the word is neither.
    static bool readBool(const std::string& value, bool& field) {
        if (value == "true") {
            field = true;
        } else if (value == "false") {
            field = false;
        } else {
            return false;
        }
        return true;
    }

    // Keys 0 to 6 bind a key to the first character of their value.
    static constexpr char Settings::*kKeyFields[7] = {
        &Settings::keyForward,   &Settings::keyBack,       &Settings::keyLeft,
        &Settings::keyRight,     &Settings::keyCenterView, &Settings::keyRailGun,
        &Settings::keyMachineGun};

    // The switch read as "true" or "false" by a key, or nullptr for other keys.
    static bool Settings::*boolField(int index) {
        switch (index) {
            case 7:
                return &Settings::invertMouse;
            case 14:
                return &Settings::shadow;
            case 15:
                return &Settings::lensflare;
            case 16:
                return &Settings::motionBlur;
            case 17:
                return &Settings::fog;
            case 18:
                return &Settings::sound;
            case 19:
                return &Settings::multitexturing;
            case 20:
                return &Settings::mipmapping;
            default:
                return nullptr;
        }
    }

    // Converts and stores one value; returns the message of a failed check, or nullptr.
    const char* apply(int index, const std::string& value) {
        if (index >= 0 && index < 7) {
            s_.*kKeyFields[index] = value[0];
            return nullptr;
        }
        if (bool Settings::*field = boolField(index)) {
            return readBool(value, s_.*field) ? nullptr : kMsgBool;
        }
        switch (index) {
            case 8:
                s_.mouseSensitivity = signedNumber(value);
                return s_.mouseSensitivity <= 0 ? kMsgSensitivity : nullptr;
            case 9:
                Settings::copyText(s_.playerName, value.c_str());
                break;
            case 10:
                if (value == "red") {
                    s_.vokaType = TYPE_VOKA_RED;
                } else if (value == "green") {
                    s_.vokaType = TYPE_VOKA_GREEN;
                } else {
                    return kMsgBool;
                }
                break;
            case 11:
                Settings::copyText(s_.serverIp, value.c_str());
                break;
            case 12:
                s_.serverPort = static_cast<std::uint16_t>(leadingNumber(value, 4294967295u));
                if (s_.serverPort == 0) return kMsgPortLow;
                if (s_.serverPort >= 65000) return kMsgPortHigh;
                break;
            case 13:
                Settings::setResolution(signedNumber(value));
                break;
            case 21:
                s_.textureQuality = signedNumber(value);
                break;
            case 22:
                s_.renderMode = signedNumber(value);
                break;
            case 23:
                s_.fov = static_cast<double>(signedNumber(value));
                break;
            case 24: {
                bool on = false;
                if (!readBool(value, on)) return kMsgBool;
                s_.lod = on ? 1 : 0;
                break;
            }
            default:
                break;
        }
        return nullptr;
    }

    Settings& s_;
    std::string_view text_;
    std::size_t pos_ = 0;
};

// Formats the 25 lines of the file, in the writer's order.
class SettingsWriter {
  public:
    static std::string format(const Settings& s) {
        std::string text;
        bindingLine(text, "action_fwd", s.keyForward, 'w');
        bindingLine(text, "action_back", s.keyBack, 's');
        bindingLine(text, "action_left", s.keyLeft, 'a');
        bindingLine(text, "action_right", s.keyRight, 'd');
        bindingLine(text, "action_centerview", s.keyCenterView, 'c');
        bindingLine(text, "weapon_7", s.keyRailGun, '7');
        bindingLine(text, "weapon_2", s.keyMachineGun, '2');
        text += s.invertMouse ? "invert true\n" : "invert false\n";
        intLine(text, "sensitivity", s.mouseSensitivity);
        textLine(text, "playername", s.playerName);
        text += s.vokaType == TYPE_VOKA_RED ? "vokatype red\n" : "vokatype green\n";
        textLine(text, "server_ip", s.serverIp);
        intLine(text, "server_port", static_cast<int>(s.serverPort));
        intLine(text, "resolution", Settings::getResolution());
        flag(text, "shadow", s.shadow);
        flag(text, "lensflare", s.lensflare);
        flag(text, "blur", s.motionBlur);
        flag(text, "fog", s.fog);
        flag(text, "sound", s.sound);
        flag(text, "multitexturing", s.multitexturing);
        flag(text, "mipmapping", s.mipmapping);
        intLine(text, "texturqual", s.textureQuality);
        intLine(text, "rendermode", s.renderMode);
        intLine(text, "fov", truncatedFov(s.fov));
        text += s.lod != 0 ? "lod true\n" : "lod false\n";
        return text;
    }

  private:
    // The field of view is written as a whole number, truncated toward zero; values
    // no int can hold (never produced by the game) are clamped instead of overflowing.
    static int truncatedFov(double fov) {
        if (!(fov > -2147483648.0)) return fov != fov ? 0 : -2147483647 - 1;
        if (fov >= 2147483647.0) return 2147483647;
        return static_cast<int>(fov);
    }

    // Each line is formatted into a buffer of 100 bytes, as the file's lines are short.
    static void append(std::string& text, const char* buffer, int length) {
        if (length > 0) text.append(buffer, std::min<std::size_t>(length, 99));
    }

    // A binding the reader could not read back (none at all after a start without a
    // file, which would be written as a NUL) is written as the game's default key, so
    // the file always loads again.
    static void bindingLine(std::string& text, const char* key, char value, char fallback) {
        char buffer[100];
        const char written = isTokenChar(value) ? value : fallback;
        append(text, buffer, std::snprintf(buffer, sizeof buffer, "%s %c\n", key, written));
    }

    static void intLine(std::string& text, const char* key, int value) {
        char buffer[100];
        append(text, buffer, std::snprintf(buffer, sizeof buffer, "%s %d\n", key, value));
    }

    static void textLine(std::string& text, const char* key, const char* value) {
        char buffer[100];
        append(text, buffer, std::snprintf(buffer, sizeof buffer, "%s %s\n", key, value));
    }

    static void flag(std::string& text, const char* key, bool value) {
        text += key;
        text += value ? " true\n" : " false\n";
    }
};

int Settings::readFile(const char* path) {
    std::string bytes;
    if (!readHead(path, bytes)) return -1;
    return readText(bytes);
}

int Settings::readText(std::string_view bytes) {
    return SettingsReader(*this, asText(bytes)).run();
}

std::string Settings::formatText() const {
    return SettingsWriter::format(*this);
}

int Settings::writeFile(const char* path) const {
    return platform::replaceFile(path, SettingsWriter::format(*this)) ? 0 : -1;
}
