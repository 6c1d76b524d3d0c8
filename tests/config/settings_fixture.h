#pragma once

#include <gtest/gtest.h>

#include <string>

#include "config/settings.h"
#include "support/captured_errors.h"
#include "support/temp_dir.h"

// A settings store at its start values, a scratch directory for zrv.cfg files and the
// message boxes the reader raises.
class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { Settings::resetStartValues(); }
    void TearDown() override { Settings::resetStartValues(); }

    // Writes `text` as a settings file and reads it; returns readFile's result.
    int readText(const std::string& text) {
        dir.write("zrv.cfg", text);
        return Settings::instance().readFile(dir.file("zrv.cfg").c_str());
    }

    testing_support::TempDir dir;
    testing_support::CapturedErrors errors;
};

// A text setting, read through its getter.
inline std::string textOf(void (*get)(char*)) {
    char out[Settings::kTextSize];
    get(out);
    return out;
}

// A complete, valid file in the order the game writes it.
inline std::string validFile() {
    return "action_fwd w\naction_back s\naction_left a\naction_right d\naction_centerview c\n"
           "weapon_7 7\nweapon_2 2\ninvert false\nsensitivity 5\nplayername Rook\n"
           "vokatype red\nserver_ip 127.0.0.1\nserver_port 24500\nresolution 2\nshadow true\n"
           "lensflare true\nblur false\nfog true\nsound true\nmultitexturing true\n"
           "mipmapping true\ntexturqual 2\nrendermode 3\nfov 75\nlod true\n";
}

// `text` (by default the valid file) with the value of one key replaced.
inline std::string withValue(const std::string& key, const std::string& value,
                             std::string text = validFile()) {
    const std::size_t at = text.find(key + " ");
    const std::size_t end = text.find('\n', at);
    text.replace(at, end - at, key + " " + value);
    return text;
}
