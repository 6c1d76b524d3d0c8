#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "loopback.h"
#include "support/e2e_runner.h"
#include "support/temp_dir.h"

// The built voka-server, started with the given options (an ephemeral port with
// "--port 0", which it reports) in a scratch directory that keeps what it prints.
// Killed on destruction if it is still running.
class ServerProcess {
  public:
    explicit ServerProcess(const std::vector<std::string>& options)
        : run_(testing_support::builtBinary("server/voka-server"), dir_.path(), options) {}

    std::string log() const { return run_.report(); }
    bool logHas(const std::string& part) const { return log().find(part) != std::string::npos; }
    // The port from the "listening on ADDRESS:PORT" line, 0 when it does not come.
    std::uint16_t port() const {
        int port = 0;
        loopback::eventually(
            [&] {
                const std::string text = log();
                const std::size_t at = text.find("listening on ");
                port = at == std::string::npos ? 0 : std::atoi(&text[text.find(':', at) + 1]);
                return port != 0;
            },
            5000);
        return static_cast<std::uint16_t>(port);
    }
    // The exit code, or -1 for a signal or when it has not ended in time (it is then
    // killed).
    int wait(int timeoutMs = 5000) { return run_.wait(timeoutMs); }
    void signal(int number) const { run_.signal(number); }

  private:
    testing_support::TempDir dir_;
    mutable testing_support::E2eRun run_;  // its report reaps the ended process
};
