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

    std::string lastMessage() const {
        return errors.texts().empty() ? std::string() : errors.texts().back();
    }

    testing_support::TempDir dir;
    testing_support::CapturedErrors errors;
};

// A complete, valid file in the order the game writes it.
inline std::string validFile() {
    return "action_fwd w\n"
           "action_back s\n"
           "action_left a\n"
           "action_right d\n"
           "action_centerview c\n"
           "weapon_7 7\n"
           "weapon_2 2\n"
           "invert false\n"
           "sensitivity 5\n"
           "playername Rook\n"
           "vokatype red\n"
           "server_ip 127.0.0.1\n"
           "server_port 24500\n"
           "resolution 2\n"
           "shadow true\n"
           "lensflare true\n"
           "blur false\n"
           "fog true\n"
           "sound true\n"
           "multitexturing true\n"
           "mipmapping true\n"
           "texturqual 2\n"
           "rendermode 3\n"
           "fov 75\n"
           "lod true\n";
}

// The valid file with the value of one key replaced.
inline std::string withValue(const std::string& key, const std::string& value) {
    std::string text = validFile();
    const std::size_t at = text.find(key + " ");
    const std::size_t end = text.find('\n', at);
    text.replace(at, end - at, key + " " + value);
    return text;
}
