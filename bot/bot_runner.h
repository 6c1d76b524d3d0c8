#pragma once

#include <atomic>
#include <cstdio>

#include "bot/bot_options.h"

namespace bot {

// The program voka-bot: reads the game directory, connects `count` bots to the server
// and runs them all on this thread at a fixed 50 steps a second of real time, until
// `stop` turns true or every bot has lost the server. What happens goes to `log`, one
// line each, ending with each bot's frags and deaths and the CPU time the process used.
// Returns the exit code: 0 when stopped or when the server went away, 1 when the game
// directory or the server could not be used.
int runBots(const BotOptions& options, const std::atomic<bool>& stop, std::FILE* log);

}  // namespace bot
