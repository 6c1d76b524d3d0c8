// Skill 5 against skill 1 in simulated time: two bots of each skill on an in-process
// relay server play MINUTES (default 3) of 50 Hz steps as fast as the machine runs, with
// a millisecond's pause after each round of steps so that the relay delivers each step's
// updates before the next (as on a real network, where a step lasts 20 ms). Prints each
// bot's frags and deaths and the totals by skill.
//
//   bot_duel_sim GAME_DIR [MINUTES] [SEED]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bot/bot_player.h"
#include "server/relay_server.h"
#include "world/level_registry.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bot_duel_sim GAME_DIR [MINUTES] [SEED]\n");
        return 2;
    }
    const int minutes = argc > 2 ? std::atoi(argv[2]) : 3;
    const std::uint32_t seed = argc > 3 ? static_cast<std::uint32_t>(std::atoi(argv[3])) : 1;
    bot::GameData data;
    std::string error;
    if (!data.load(argv[1], error)) {
        std::fprintf(stderr, "bot_duel_sim: %s\n", error.c_str());
        return 1;
    }
    server::ServerConfig config;
    config.bindAddress = "127.0.0.1";
    config.port = 0;
    server::RelayServer relay(config, [](const std::string&) {});
    if (!relay.listen(error)) {
        std::fprintf(stderr, "bot_duel_sim: %s\n", error.c_str());
        return 1;
    }
    std::thread loop([&relay] { relay.run(); });

    const std::int32_t skills[] = {5, 5, 1, 1};
    std::vector<std::unique_ptr<bot::BotPlayer>> bots;
    for (std::uint32_t i = 0; i < 4; ++i) {
        bot::BotSetup setup{"Bot " + std::to_string(i + 1), TYPE_VOKA_RED, skills[i],
                            seed * 16 + i + 1};
        bots.push_back(std::make_unique<bot::BotPlayer>(setup, data));
        bots.back()->connect("127.0.0.1", relay.port());
    }
    using namespace std::chrono_literals;
    const int steps = minutes * 60 * 50;
    for (int step = 0; step < steps; ++step) {
        for (auto& bot : bots) bot->step(0.02f);
        std::this_thread::sleep_for(1ms);
    }
    int frags[6] = {}, deaths[6] = {};
    for (std::size_t i = 0; i < bots.size(); ++i) {
        std::printf("%s (skill %d): %d frags, %d deaths\n", bots[i]->name().c_str(), skills[i],
                    bots[i]->frags(), bots[i]->deaths());
        frags[skills[i]] += bots[i]->frags();
        deaths[skills[i]] += bots[i]->deaths();
    }
    std::printf("%d simulated minutes: skill 5 %d frags %d deaths, skill 1 %d frags %d deaths\n",
                minutes, frags[5], deaths[5], frags[1], deaths[1]);
    bots.clear();
    relay.stop();
    loop.join();
    return 0;
}
