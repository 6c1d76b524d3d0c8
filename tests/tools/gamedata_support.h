#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

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
// Runs a shell command and collects what it printed.
inline CommandResult run(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    for (size_t count = 0; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, count);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// Quotes a path for the shell.
inline std::string quoted(const std::string& path) {
    std::string out = "'";
    for (char c : path) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace gamedata_testing
