#pragma once

#include <string>

namespace gamedata_testing {

// The game directory that the build generated (<build>/gamedata).
std::string gameDir();
std::string gamePath(const std::string& relative);

struct CommandResult {
    int status = -1;
    std::string output;  // standard output and standard error
};
// Runs a shell command and collects what it printed.
CommandResult run(const std::string& command);
// Quotes a path for the shell.
std::string quoted(const std::string& path);

std::string readFile(const std::string& path);

}  // namespace gamedata_testing
