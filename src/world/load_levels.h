#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "world/level_registry.h"

// What one reading of a level file came to. The game itself ignores it: parser
// diagnostics are not shown, and the levels whose end tag was read stay registered.
struct LevelLoadResult {
    std::int32_t levelsRegistered = 0;
    bool parsed = false;          // the document was read to its end without a fatal error
    std::string error;            // the first fatal error or exception, if any
    std::string refusedResource;  // an external DTD or entity the document asked for
};

// The most entity expansions a level file may make; the game's own file makes none.
constexpr unsigned kLevelEntityExpansionLimit = 1000;

// Reads "./level.xml" into the game's level registry.
void loadLevels();

// Reads the level file at `path` (or the bytes given) into `registry` with the SAX2
// parser. External DTDs and entities are never loaded: a document that names one is
// refused with a message. Entity expansion is bounded by kLevelEntityExpansionLimit.
LevelLoadResult loadLevels(LevelRegistry& registry, const char* path);
LevelLoadResult loadLevelsFromMemory(LevelRegistry& registry, const char* bytes, std::size_t size);
