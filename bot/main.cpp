// voka-bot: computer players for Voka Arena, without a window.

#include <signal.h>

#include <atomic>
#include <cstdio>

#include "bot/bot_options.h"
#include "bot/bot_runner.h"

namespace {

std::atomic<bool> stopRequested{false};

void requestStop(int) {
    stopRequested.store(true);
}

}  // namespace

int main(int argc, char** argv) {
    const bot::ParsedBotOptions parsed = bot::parseBotOptions(argc, argv);
    if (parsed.help) {
        std::fputs(bot::botUsageText(), stdout);
        return 0;
    }
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "voka-bot: %s\n%s", parsed.error.c_str(), bot::botUsageText());
        return 2;
    }
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    return bot::runBots(parsed.options, stopRequested, stdout);
}
