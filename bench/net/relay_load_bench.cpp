// Runs voka-server under a match's load: N simulated clients on loopback, each
// announcing one Voka and streaming MSG_UPDATE at the game's rate. Reports how many
// relayed updates arrived, the relay latency (send to arrival at each other client)
// and the CPU time the server used.
//
//   relay_load_bench [--clients 32] [--rate 50] [--seconds 30] [--server PATH]
//                    [--flush-delay-us N] [--port N]
//
// With --port it joins the server already listening on that loopback port instead of
// starting one (a probe beside real players, whose messages it leaves uncounted), and
// reports no server CPU time.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "net/protocol/client_messages.h"
#include "net/protocol/server_messages.h"
#include "net/protocol/stream_reassembler.h"
#include "server/scheduling.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

struct Options {
    int clients = 32;
    int rate = 50;
    int seconds = 30;
    std::string server = VOKA_SERVER_BINARY;
    std::string flushDelayUs;  // the server's default when empty
    int port = 0;              // a running server's; 0 starts one
};

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--clients") options.clients = std::clamp(std::atoi(argv[i + 1]), 2, 127);
        if (name == "--rate") options.rate = std::clamp(std::atoi(argv[i + 1]), 1, 1000);
        if (name == "--seconds") options.seconds = std::clamp(std::atoi(argv[i + 1]), 1, 3600);
        if (name == "--server") options.server = argv[i + 1];
        if (name == "--flush-delay-us") options.flushDelayUs = argv[i + 1];
        if (name == "--port") options.port = std::clamp(std::atoi(argv[i + 1]), 0, 65535);
    }
    return options;
}

// User and system CPU seconds of a process, from /proc.
struct CpuTime {
    double user = 0;
    double system = 0;
};

CpuTime cpuTime(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos) return {};
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    CpuTime time;
    const auto ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    for (int index = 3; fields >> field; ++index) {
        if (index == 14) time.user = static_cast<double>(std::stoull(field)) / ticks;
        if (index == 15) {
            time.system = static_cast<double>(std::stoull(field)) / ticks;
            break;
        }
    }
    return time;
}

struct Client {
    int fd = -1;
    int number = -1;
    net::StreamReassembler input{&net::serverMessageLength};
    std::vector<std::int64_t> sentAt;  // by sequence number
    std::int64_t nextSendNs = 0;
};

// Starts the server of the options on a free loopback port, its output into a fresh file
// whose name goes into `logPath`; its pid, or -1.
pid_t startServer(const Options& options, char* logPath) {
    const int logFd = mkstemp(logPath);
    if (logFd < 0) return -1;
    ::close(logFd);
    std::vector<std::string> args = {options.server,
                                     "--port",
                                     "0",
                                     "--bind",
                                     "127.0.0.1",
                                     "--max-players",
                                     std::to_string(options.clients)};
    if (!options.flushDelayUs.empty()) {
        args.push_back("--flush-delay-us");
        args.push_back(options.flushDelayUs);
    }
    std::vector<char*> argvServer;
    for (auto& arg : args) argvServer.push_back(arg.data());
    argvServer.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath, O_WRONLY | O_TRUNC, 0600);
    pid_t server = -1;
    const int failed =
        posix_spawn(&server, options.server.c_str(), &actions, nullptr, argvServer.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        std::fprintf(stderr, "cannot start %s\n", options.server.c_str());
        return -1;
    }
    return server;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    char logPath[] = "/tmp/voka-relay-bench-XXXXXX";
    pid_t server = -1;
    int port = options.port;
    if (port == 0) {
        server = startServer(options, logPath);
        if (server < 0) return 1;
        for (int tries = 0; tries < 500 && port == 0; ++tries) {
            std::ifstream log(logPath);
            std::string text((std::istreambuf_iterator<char>(log)),
                             std::istreambuf_iterator<char>());
            const auto at = text.find("listening on 127.0.0.1:");
            if (at != std::string::npos) port = std::atoi(text.c_str() + at + 23);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (port == 0) {
            std::fprintf(stderr, "the server did not say its port\n");
            kill(server, SIGKILL);
            return 1;
        }
    }

    // The probe stands for players on machines of their own: its timestamps must not wait
    // for the processor behind the game and the bots that share this one.
    if (const std::string why = server::askForShortTimeSlices(); !why.empty())
        std::fprintf(stderr, "long time slices (%s): latencies include this machine's\n",
                     why.c_str());
    const int epoll = epoll_create1(EPOLL_CLOEXEC);
    const std::int64_t periodNs = 1000000000LL / options.rate;
    const std::size_t perClient = static_cast<std::size_t>(options.rate) * options.seconds;
    std::vector<Client> clients(static_cast<std::size_t>(options.clients));
    std::vector<int> indexOfNumber(256, -1);
    for (std::size_t i = 0; i < clients.size(); ++i) {
        Client& client = clients[i];
        client.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(client.fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            std::fprintf(stderr, "connect failed: %s\n", std::strerror(errno));
            if (server > 0) kill(server, SIGKILL);
            return 1;
        }
        ::fcntl(client.fd, F_SETFL, O_NONBLOCK);
        client.sentAt.assign(perClient, 0);
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u64 = i;
        epoll_ctl(epoll, EPOLL_CTL_ADD, client.fd, &event);
    }

    std::uint64_t delivered = 0, sent = 0, sendFailures = 0, unexpected = 0;
    std::vector<std::uint32_t> histogram(1000001, 0);  // microseconds, last bucket = more
    auto receive = [&](Client& client) {
        std::uint8_t chunk[65536];
        for (;;) {
            const ssize_t got = ::recv(client.fd, chunk, sizeof chunk, 0);
            if (got <= 0) return;
            const std::int64_t now = nowNs();
            client.input.feed(chunk, static_cast<std::size_t>(got), [&](const net::WireMessage& m) {
                if (m.type() == net::MSG_CLIENT_NUMBER) {
                    client.number = m.bytes[1];
                    indexOfNumber[m.bytes[1]] = static_cast<int>(&client - clients.data());
                } else if (m.type() == net::MSG_UPDATE) {
                    const int sender = indexOfNumber[m.bytes[1]];
                    // Another player's, beside a running server's real players.
                    if (sender < 0 && options.port != 0) return true;
                    const auto sequence = static_cast<std::size_t>(net::readPose(&m.bytes[4])[0]);
                    if (sender < 0 || sequence >= perClient ||
                        clients[static_cast<std::size_t>(sender)].sentAt[sequence] == 0) {
                        ++unexpected;
                        return true;
                    }
                    const std::int64_t micros =
                        (now - clients[static_cast<std::size_t>(sender)].sentAt[sequence]) / 1000;
                    ++histogram[static_cast<std::size_t>(
                        std::clamp<std::int64_t>(micros, 0, 1000000))];
                    ++delivered;
                }
                return true;
            });
        }
    };
    auto pumpNs = [&](std::int64_t timeoutNs) {
        epoll_event events[64];
        const timespec timeout{timeoutNs / 1000000000, timeoutNs % 1000000000};
        const int count = epoll_pwait2(epoll, events, 64, &timeout, nullptr);
        for (int i = 0; i < count; ++i) receive(clients[events[i].data.u64]);
    };
    auto pump = [&](int timeoutMs) { pumpNs(std::int64_t{timeoutMs} * 1000000); };

    // Welcome, then every client announces its Voka, as the game does.
    for (int i = 0; i < 50; ++i) pump(10);
    for (auto& client : clients) {
        const net::WireMessage announce = net::encodeNew(net::TYPE_VOKA_RED, 1, {0, 0, 0, 0, 0, 0});
        if (::send(client.fd, announce.bytes.data(), announce.length, MSG_NOSIGNAL) < 0)
            ++sendFailures;
    }
    for (int i = 0; i < 20; ++i) pump(10);

    const std::int64_t start = nowNs() + 50000000;
    for (std::size_t i = 0; i < clients.size(); ++i) {
        clients[i].nextSendNs = start + periodNs * static_cast<std::int64_t>(i) / options.clients;
    }
    const CpuTime serverCpuBefore = server > 0 ? cpuTime(server) : CpuTime{};
    rusage selfBefore{};
    getrusage(RUSAGE_SELF, &selfBefore);
    std::vector<std::size_t> sequence(clients.size(), 0);
    for (;;) {
        std::int64_t next = INT64_MAX;
        bool more = false;
        for (std::size_t i = 0; i < clients.size(); ++i) {
            if (sequence[i] >= perClient) continue;
            more = true;
            Client& client = clients[i];
            if (client.nextSendNs <= nowNs()) {
                const float seq = static_cast<float>(sequence[i]);
                const net::WireMessage update =
                    net::encodeUpdate(1, {seq, static_cast<float>(i), 5, 0, 0, 90});
                client.sentAt[sequence[i]] = nowNs();
                if (::send(client.fd, update.bytes.data(), update.length, MSG_NOSIGNAL) ==
                    static_cast<ssize_t>(update.length)) {
                    ++sent;
                } else {
                    ++sendFailures;
                    client.sentAt[sequence[i]] = 0;
                }
                ++sequence[i];
                client.nextSendNs += periodNs;
            }
            next = std::min(next, client.nextSendNs);
        }
        if (!more) break;
        pumpNs(std::max<std::int64_t>(next - nowNs(), 0));
    }
    const CpuTime serverCpuAfter = server > 0 ? cpuTime(server) : CpuTime{};
    const double serverUser = serverCpuAfter.user - serverCpuBefore.user;
    const double serverSystem = serverCpuAfter.system - serverCpuBefore.system;
    const double serverCpu = serverUser + serverSystem;
    for (int i = 0; i < 100; ++i) pump(10);  // the last relays
    rusage selfAfter{};
    getrusage(RUSAGE_SELF, &selfAfter);

    const std::uint64_t expected = sent * static_cast<std::uint64_t>(options.clients - 1);
    auto percentile = [&](double p) {
        const auto wanted = static_cast<std::uint64_t>(p * static_cast<double>(delivered));
        std::uint64_t seen = 0;
        for (std::size_t us = 0; us < histogram.size(); ++us) {
            seen += histogram[us];
            if (seen > wanted) return static_cast<double>(us) / 1000.0;
        }
        return 1000.0;
    };
    double maxMs = 0;
    for (std::size_t us = histogram.size(); us-- > 0;) {
        if (histogram[us] != 0) {
            maxMs = static_cast<double>(us) / 1000.0;
            break;
        }
    }
    const double selfCpu =
        static_cast<double>(selfAfter.ru_utime.tv_sec - selfBefore.ru_utime.tv_sec +
                            selfAfter.ru_stime.tv_sec - selfBefore.ru_stime.tv_sec) +
        static_cast<double>(selfAfter.ru_utime.tv_usec - selfBefore.ru_utime.tv_usec +
                            selfAfter.ru_stime.tv_usec - selfBefore.ru_stime.tv_usec) /
            1e6;

    std::printf("clients %d, %d updates/s each, %d s\n", options.clients, options.rate,
                options.seconds);
    std::printf("updates sent          %llu (send failures %llu)\n",
                static_cast<unsigned long long>(sent),
                static_cast<unsigned long long>(sendFailures));
    std::printf(
        "relayed deliveries    %llu of %llu expected (%.4f%%), unexpected %llu\n",
        static_cast<unsigned long long>(delivered), static_cast<unsigned long long>(expected),
        expected ? 100.0 * static_cast<double>(delivered) / static_cast<double>(expected) : 0.0,
        static_cast<unsigned long long>(unexpected));
    std::printf("relay latency         p50 %.3f ms, p99 %.3f ms, p99.9 %.3f ms, max %.3f ms\n",
                percentile(0.50), percentile(0.99), percentile(0.999), maxMs);
    if (server > 0) {
        std::printf(
            "server CPU            %.2f s in %d s = %.1f%% of one core (user %.2f s, "
            "system %.2f s)\n",
            serverCpu, options.seconds, 100.0 * serverCpu / options.seconds, serverUser,
            serverSystem);
    }
    std::printf("load generator CPU    %.2f s\n", selfCpu);

    if (server > 0) {
        kill(server, SIGTERM);
        int status = 0;
        waitpid(server, &status, 0);
        ::unlink(logPath);
    }
    for (auto& client : clients) ::close(client.fd);
    return delivered == expected ? 0 : 3;
}
