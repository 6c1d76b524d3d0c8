#pragma once

#include <sys/epoll.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "net/protocol/stream_reassembler.h"
#include "server/batch_sender.h"
#include "server/relay_hub.h"

namespace server {

struct ServerConfig {
    std::string bindAddress = "0.0.0.0";
    std::uint16_t port = 24500;  // the server_port of the shipped zrv.cfg; 0 picks a free one
    HubOptions hub;
    // Bytes waiting for one slow client; a client that falls further behind is dropped
    // rather than let it hold up the others or grow the server without bound.
    std::size_t maxQueuedBytes = 256 * 1024;
    // The kernel's send buffer for each client (the kernel doubles it), fixed instead of
    // one that grows to megabytes: what a stalled client ties up stays small, and our own
    // queue limit decides when it is dropped. A full match needs under 50 kB a second
    // per client.
    int kernelSendBuffer = 64 * 1024;
    // How long relayed messages may gather before they are written, in microseconds.
    // Every write to a client costs the kernel the same whatever it carries, and every
    // message goes to all the others: after the first message of a turn the server sleeps
    // this long, then reads everything that came meanwhile and writes each client once.
    // It adds up to this much to each message's delay. 0 writes at once.
    int flushDelayUs = 250;
    // Above 0, the relay loop asks for real-time scheduling at this priority (1-99), so
    // that nothing else on the machine holds up a message. On a machine whose processors
    // the players' own programs keep busy, a normal thread can wait a scheduler tick
    // (4 ms at 250 Hz) behind them even at a better nice value. Without the right to it,
    // the server logs why and goes on with short time slices.
    int realTimePriority = 0;
    // Hand each turn's writes to the kernel together where it can (see BatchSender).
    bool batchWrites = true;
    // A client that has sent nothing for this many milliseconds is closed and its number
    // freed, so that silent connections cannot fill the server. A game streams its Voka
    // every 20 ms once it has announced it, and asks for the others' names a second or
    // two after connecting. 0 keeps silent clients.
    std::int64_t idleTimeoutMs = 30000;
    // The server's clock in milliseconds (item returns, silent clients); empty: the
    // steady clock. Tests drive it.
    std::function<std::int64_t()> clockMs;
};

// The relay server's socket side: one thread, one epoll loop, non-blocking sockets.
// Each client has a stream reassembler for its input and a bounded output queue; the
// RelayHub decides what goes where.
class RelayServer : private Outbox {
  public:
    using Log = std::function<void(const std::string& line)>;

    explicit RelayServer(const ServerConfig& config, Log log);
    RelayServer(const RelayServer&) = delete;
    RelayServer& operator=(const RelayServer&) = delete;
    ~RelayServer();

    // Binds and listens; false with `error` set when that fails.
    bool listen(std::string& error);
    // The port listened on (the chosen one when the config asked for 0).
    std::uint16_t port() const { return port_; }
    // Serves until stop() is called or `stopFd` (a signalfd, say) becomes readable: true.
    // False when waiting for events failed for good; failure() says why.
    bool run(int stopFd = -1);
    const std::string& failure() const { return failure_; }
    // Ends run() soon; safe from any thread and from a signal handler.
    void stop();
    // Whole messages read from the players, and messages written to them (each copy of
    // a relayed message counts once per receiver). Read once run() has returned.
    std::uint64_t messagesRead() const { return messagesRead_; }
    std::uint64_t messagesWritten() const { return messagesWritten_; }

  private:
    struct Session {
        std::uint64_t key = 0;  // epoll tag; never reused, unlike fds and client numbers
        int fd = -1;
        int number = 0;
        std::string peer;
        net::StreamReassembler input{&net::clientMessageLength};
        std::vector<std::uint8_t> output;  // bytes not yet taken by the socket
        std::size_t outputStart = 0;
        bool writeArmed = false;
        bool dirty = false;            // output grew since the last flush
        std::string doomed;            // why the session is to be closed; empty while it lives
        std::int64_t lastHeardMs = 0;  // when it last sent anything (or connected)
    };

    void sendTo(int clientNumber, const net::WireMessage& message) override;
    // Real-time scheduling when the configuration asks for it and it is granted, else
    // short time slices; logs what it got.
    void askForPromptScheduling();
    // Waits up to `waitUs` (-1: no limit) for events and serves every ready one; true when
    // the server is asked to stop.
    bool serveReady(std::int64_t waitUs);
    int waitForEvents(epoll_event* events, int capacity, std::int64_t waitUs);
    void accept();
    void refuse(int fd, const std::string& peer);
    void readFrom(Session& session);
    void writeTo(Session& session);
    void settle(Session& session);
    void doom(Session& session, const std::string& why);
    void closeDoomed();
    // Dooms every client that has been silent for the idle timeout; the earliest time
    // another may turn silent, or nothing.
    std::optional<std::int64_t> closeSilent(std::int64_t now);
    void flushPending();
    void armWrite(Session& session, bool on);
    std::int64_t nowMs() const;
    std::int64_t nowUs() const;

    ServerConfig config_;
    Log log_;
    int listener_ = -1;
    int epoll_ = -1;
    int wake_ = -1;     // eventfd written by stop()
    int spareFd_ = -1;  // kept to accept-and-close when the process runs out of fds
    std::uint16_t port_ = 0;
    std::uint64_t nextKey_ = 16;
    std::unordered_map<std::uint64_t, std::unique_ptr<Session>> sessions_;
    std::vector<Session*> byNumber_;     // index = client number
    std::vector<std::uint64_t> dirty_;   // sessions with output to flush
    std::vector<std::uint64_t> doomed_;  // sessions to close
    std::unique_ptr<RelayHub> hub_;
    BatchSender sender_;
    // epoll_pwait2 waits to the microsecond; kernels before 5.11 do not have it (and
    // sandboxes that do not know it refuse it), and then epoll_wait takes its place.
    bool preciseWait_ = true;
    std::string failure_;
    std::uint64_t messagesRead_ = 0;
    std::uint64_t messagesWritten_ = 0;
};

}  // namespace server
