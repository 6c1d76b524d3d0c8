#include "app/run_game.h"

int main(int argc, char** argv) {
    runGame(argc, argv);
}
