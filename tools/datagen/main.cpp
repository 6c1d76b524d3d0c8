// voka-datagen <game-dir>: writes every data file of the game into <game-dir>.
// The output depends on nothing but this program and the DejaVu fonts, so it is the same
// on every run.
#include <cstdio>
#include <exception>

#include "generators.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <game-dir>\n", argv[0]);
        return 2;
    }
    try {
        datagen::Output out(argv[1]);
        datagen::writeTextFiles(out);
        datagen::writeSounds(out);
        datagen::writeScreenImages(out);
        datagen::writeEffectImages(out);
        datagen::writeLevels(out);
        datagen::writeVokaModels(out);
        datagen::writeWeaponModels(out);
        datagen::writeItemModels(out);
        datagen::writeSkyModel(out);
        std::printf("voka-datagen: wrote %zu files to %s\n", out.fileCount(), argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "voka-datagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
