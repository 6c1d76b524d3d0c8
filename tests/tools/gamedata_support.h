#pragma once

#include <cstdlib>
#include <string>

#include "support/e2e_runner.h"
#include "support/temp_dir.h"

namespace gamedata_testing {

using testing_support::readFile;

// A path in the game directory that the build generated (<build>/gamedata).
inline std::string gamePath(const std::string& relative) {
    return std::string(VOKA_GAMEDATA_DIR) + "/" + relative;
}

struct CommandResult {
    int status = -1;
    std::string output;  // standard output and standard error
};
// Runs a shell command and collects what it printed and the status it ended with.
inline CommandResult run(const std::string& command) {
    const std::string out = testing_support::runCommand(command + " 2>&1; echo \" $?\"");
    const std::size_t at = out.rfind(' ');
    if (at == std::string::npos) return {};
    return {std::atoi(out.c_str() + at + 1), out.substr(0, at)};
}

// Quotes a path for the shell (the build's paths hold no quote).
inline std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

}  // namespace gamedata_testing
