#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The game's own command-line options, and the arguments that go on to GLUT.
//
//   --connect HOST[:PORT]  the server for this run (the port of the settings without one)
//   --name NAME            the player name for this run
//   --start                straight from start-up to loading, past the menu
//   --autopilot            the computer player's brain drives the own Voka; keys and
//                          mouse then only end the game (Esc)
//   --record FILE          writes the match to a demo file as it is played
//   --timedemo FILE        plays a demo file as fast as it draws, prints the figures, ends
//   --frame-times FILE     with --timedemo: writes each timed frame's seconds, a line each
//   --help                 the usage text
//
// A value may also follow an equals sign ("--name=Kim"). GLUT's own X options
// (-display DISPLAY, -geometry WxH+X+Y, -direct, -indirect, -iconic, -gldebug, -sync)
// pass through. Overrides last for the run: nothing is written to the settings file.
struct CommandLine {
    std::string host;        // empty: the settings' server address
    std::uint16_t port = 0;  // 0: the settings' server port
    std::string name;        // empty: the settings' player name
    bool start = false;
    bool autopilot = false;
    bool help = false;
    std::string recordPath;      // empty: no recording
    std::string timedemoPath;    // empty: a game, not a timedemo
    std::string frameTimesPath;  // empty: the timedemo keeps its frame times to itself
    // The program name and GLUT's options, in their order, for glutInit.
    std::vector<std::string> glutArgs;
    // Why the arguments were refused; empty when they are good.
    std::string error;
};

// Exit code of a run with bad arguments.
inline constexpr int kBadArgumentsExitCode = 2;

CommandLine parseCommandLine(int argc, const char* const* argv);
// The options and what they do, one line each.
const char* commandLineUsage();
// Lays the server and name overrides over the settings for this run.
void applyCommandLine(const CommandLine& options);
