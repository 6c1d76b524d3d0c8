// Random and mutated settings files: the reader must never crash, hang or write past a
// buffer (the sanitizer build checks the last), and must report every failure.
#include <random>
#include <string>

#include "config/settings_fixture.h"

namespace {

std::string mutate(std::string text, std::mt19937& rng) {
    std::uniform_int_distribution<int> op(0, 4);
    std::uniform_int_distribution<int> byte(0, 255);
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < edits; ++i) {
        const std::size_t at = text.empty() ? 0 : rng() % text.size();
        switch (op(rng)) {
            case 0:
                if (!text.empty()) text[at] = static_cast<char>(byte(rng));
                break;
            case 1:
                text.insert(at, 1, static_cast<char>(byte(rng)));
                break;
            case 2:
                if (!text.empty()) text.erase(at, 1 + rng() % 20);
                break;
            case 3:
                text.insert(at, std::string(rng() % 400, "az09_. \n\t"[rng() % 9]));
                break;
            default:
                text = text.substr(0, at);
                break;
        }
    }
    return text;
}

TEST_F(SettingsTest, MutatedFilesNeverCrashAndAlwaysReport) {
    std::mt19937 rng(20261206);
    for (int round = 0; round < 3000; ++round) {
        Settings::resetStartValues();
        const std::size_t before = errors.texts().size();
        const int result = readText(mutate(validFile(), rng));
        if (result == 0) {
            EXPECT_EQ(errors.texts().size(), before);
        } else {
            // Every failure of a file that exists names its reason, exactly once.
            EXPECT_EQ(errors.texts().size(), before + 1);
        }
        EXPECT_LE(textOf(Settings::getPlayerName).size(), 50u);
    }
}

TEST_F(SettingsTest, RandomBytesNeverCrash) {
    std::mt19937 rng(7);
    for (int round = 0; round < 500; ++round) {
        std::string text(rng() % 7000, '\0');
        for (char& c : text) c = static_cast<char>(rng() % 256);
        EXPECT_EQ(readText(text), -1);
    }
}

}  // namespace
