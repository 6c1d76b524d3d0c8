#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/temp_dir.h"

// The built voka-server, started with the given options (an ephemeral port with
// "--port 0", which it reports); its standard output goes to a file in a scratch
// directory. Killed on destruction if it is still running.
class ServerProcess {
  public:
    static constexpr int kRunning = -1000;

    explicit ServerProcess(std::vector<std::string> options);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    std::string log() const { return dir_.read("server.log"); }
    bool logHas(const std::string& part) const { return log().find(part) != std::string::npos; }
    // The port from the "listening on ADDRESS:PORT" line, 0 when it does not come.
    std::uint16_t port() const;
    // The exit code, -1 for a signal, or kRunning when it has not ended in time.
    int wait(int timeoutMs = 5000);
    void signal(int number) const;

  private:
    testing_support::TempDir dir_;
    pid_t pid_ = -1;
    int exitCode_ = kRunning;
};
