#include "render/shared_textures.h"

namespace {

unsigned int g_table[SharedTextures::kSlots] = {};

}  // namespace

unsigned int* SharedTextures::table() {
    return g_table;
}

unsigned int SharedTextures::get(int slot) {
    return slot >= 0 && slot < kSlots ? g_table[slot] : 0;
}

void SharedTextures::clear() {
    for (unsigned int& name : g_table) name = 0;
}
