#include "server_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "loopback.h"
#include "support/e2e_runner.h"

extern char** environ;

ServerProcess::ServerProcess(std::vector<std::string> options) {
    const std::string binary = testing_support::builtBinary("server/voka-server");
    options.insert(options.begin(), binary);
    std::vector<char*> argv;
    for (auto& option : options) argv.push_back(option.data());
    argv.push_back(nullptr);
    const std::string logPath = dir_.file("server.log");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    if (posix_spawn(&pid_, binary.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
}

ServerProcess::~ServerProcess() {
    if (pid_ > 0 && exitCode_ == kRunning) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

std::uint16_t ServerProcess::port() const {
    // "listening on ADDRESS:PORT (...)"
    int port = 0;
    loopback::eventually(
        [&] {
            const std::string text = log();
            const std::size_t at = text.find("listening on ");
            const std::size_t colon = text.find(':', at);
            if (at == std::string::npos || colon == std::string::npos) return false;
            port = std::atoi(text.c_str() + colon + 1);
            return port != 0;
        },
        5000);
    return static_cast<std::uint16_t>(port);
}

int ServerProcess::wait(int timeoutMs) {
    loopback::eventually(
        [&] {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            return true;
        },
        timeoutMs);
    return exitCode_;
}

void ServerProcess::signal(int number) const {
    ::kill(pid_, number);
}
