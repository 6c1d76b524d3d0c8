// voka-server: the relay server that Voka Arena clients connect to.

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "server/relay_server.h"
#include "server/server_options.h"

namespace {

void logLine(const std::string& line) {
    const std::time_t now = std::time(nullptr);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    std::printf("%s %s\n", stamp, line.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const server::ParsedOptions parsed = server::parseOptions(argc, argv);
    if (parsed.help) {
        std::fputs(server::usageText(), stdout);
        return 0;
    }
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "voka-server: %s\n%s", parsed.error.c_str(), server::usageText());
        return 2;
    }

    // Signals arrive through a descriptor that the event loop watches, so a stop is just
    // one more event and no handler runs in the middle of the loop.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);
    const int stopFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);

    server::RelayServer relay(parsed.config, &logLine);
    std::string error;
    if (!relay.listen(error)) {
        std::fprintf(stderr, "voka-server: %s\n", error.c_str());
        return 1;
    }
    const server::ServerConfig& config = parsed.config;
    char summary[160];
    std::snprintf(summary, sizeof summary,
                  "voka-server listening on %s:%u (level %d, up to %d players, items return "
                  "after %g s)",
                  config.bindAddress.c_str(), relay.port(), config.hub.level, config.hub.maxPlayers,
                  static_cast<double>(config.hub.itemRespawnMs) / 1000.0);
    logLine(summary);
    const bool served = relay.run(stopFd);
    if (stopFd >= 0) close(stopFd);
    if (!served) {
        logLine("voka-server stopped: " + relay.failure());
        std::fprintf(stderr, "voka-server: %s\n", relay.failure().c_str());
        return 1;
    }
    logLine("voka-server stopped: read " + std::to_string(relay.messagesRead()) +
            " messages from the players, wrote " + std::to_string(relay.messagesWritten()) +
            " to them");
    return 0;
}
