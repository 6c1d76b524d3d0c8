#include "bot/bot_runner.h"

#include <sys/resource.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bot/bot_player.h"
#include "bot/game_data.h"

namespace bot {
namespace {

using Clock = std::chrono::steady_clock;

constexpr float kStepSeconds = 0.02f;
constexpr auto kStep = std::chrono::microseconds(20000);
// Further behind than this (a stopped process, a busy machine) the steps skip ahead
// rather than run fast to catch up.
constexpr auto kMostBehind = std::chrono::milliseconds(250);

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

bool anyOnline(const std::vector<std::unique_ptr<BotPlayer>>& bots) {
    for (const auto& bot : bots)
        if (bot->isOnline()) return true;
    return false;
}

}  // namespace

int runBots(const BotOptions& options, const std::atomic<bool>& stop, std::FILE* log) {
    GameData data;
    std::string error;
    if (!data.load(options.gameDir, error)) {
        std::fprintf(log, "voka-bot: %s\n", error.c_str());
        return 1;
    }
    std::vector<std::unique_ptr<BotPlayer>> bots;
    for (std::int32_t i = 1; i <= options.count; ++i) {
        BotSetup setup;
        setup.name = "Bot " + std::to_string(i);
        setup.vokaType = i % 2 == 1 ? TYPE_VOKA_RED : TYPE_VOKA_GREEN;
        setup.skill = options.skill;
        setup.seed = static_cast<std::uint32_t>(Clock::now().time_since_epoch().count()) + i;
        bots.push_back(std::make_unique<BotPlayer>(setup, data));
        if (!bots.back()->connect(options.host.c_str(), options.port)) {
            std::fprintf(log, "voka-bot: cannot connect to %s:%u\n", options.host.c_str(),
                         static_cast<unsigned>(options.port));
            return 1;
        }
    }
    std::fprintf(log, "voka-bot: %d bots of skill %d on %s:%u\n", options.count, options.skill,
                 options.host.c_str(), static_cast<unsigned>(options.port));
    std::fflush(log);

    const double cpuAtStart = cpuSeconds();
    const Clock::time_point start = Clock::now();
    Clock::time_point next = start;
    while (!stop.load()) {
        if (!anyOnline(bots)) {
            std::fprintf(log, "voka-bot: the server has gone away\n");
            break;
        }
        for (auto& bot : bots) bot->step(kStepSeconds);
        next += kStep;
        const Clock::time_point now = Clock::now();
        if (now - next > kMostBehind) next = now;
        std::this_thread::sleep_until(next);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = cpuSeconds() - cpuAtStart;
    for (const auto& bot : bots) {
        std::fprintf(log, "%s: %d frags, %d deaths\n", bot->name().c_str(), bot->frags(),
                     bot->deaths());
    }
    std::fprintf(log, "voka-bot: %.1f s, CPU %.3f ms per bot per second\n", seconds,
                 seconds > 0.0 ? cpu * 1000.0 / (seconds * options.count) : 0.0);
    std::fflush(log);
    return 0;
}

}  // namespace bot
