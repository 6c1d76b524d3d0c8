#pragma once

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "net/protocol/stream_reassembler.h"
#include "net/protocol/wire_message.h"

// The bytes of messages as they travel, for building and checking streams.
inline void append(std::vector<std::uint8_t>& stream, const net::WireMessage& message) {
    stream.insert(stream.end(), message.bytes.begin(), message.bytes.begin() + message.length);
}

inline std::vector<std::uint8_t> bytesOf(const net::WireMessage& message) {
    return {message.bytes.begin(), message.bytes.begin() + message.length};
}

// Real TCP sockets on 127.0.0.1 for the network tests: a listener on an ephemeral port
// and a peer socket with reads that always end by a deadline.
namespace loopback {

class Peer {
  public:
    explicit Peer(int fd = -1) : fd_(fd) {}
    ~Peer() { close(); }
    Peer(Peer&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Peer& operator=(Peer&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }

    // Connects to 127.0.0.1:port; the peer is invalid when that fails.
    static Peer connectTo(std::uint16_t port, int receiveBuffer = 0);
    int fd() const { return fd_; }

    bool send(const void* bytes, std::size_t length);
    bool send(const net::WireMessage& message) {
        return send(message.bytes.data(), message.length);
    }
    bool send(const std::vector<std::uint8_t>& bytes) { return send(bytes.data(), bytes.size()); }
    // Up to `count` bytes; fewer when the deadline passes or the other side closes.
    std::vector<std::uint8_t> read(std::size_t count, int timeoutMs = 2000) {
        return receive(count, timeoutMs, nullptr);
    }
    // True when the other side closes (or resets) the connection before the deadline;
    // whatever arrives before that goes to `received` or is dropped.
    bool waitForClose(int timeoutMs = 2000, std::vector<std::uint8_t>* received = nullptr) {
        bool closed = false;
        auto bytes = receive(SIZE_MAX, timeoutMs, &closed);
        if (received != nullptr) *received = std::move(bytes);
        return closed;
    }
    void close() { ::close(std::exchange(fd_, -1)); }  // close(-1) only fails

  private:
    // Reads until `count` bytes came, the other side closed (then `closed` is set) or
    // `limitMs` passed.
    std::vector<std::uint8_t> receive(std::size_t count, int limitMs, bool* closed);

    int fd_ = -1;
};

// Without `listening` the port is only held (bound with SO_REUSEADDR, which a server
// under test sets too, so that it may take the port over while no other socket gets it).
class Listener {
  public:
    explicit Listener(bool listening = true);

    std::uint16_t port() const { return port_; }
    // A connected socket, or -1 when no one connected in time.
    int accept(int timeoutMs = 2000);

  private:
    Peer socket_;
    std::uint16_t port_ = 0;
};

// Splits a byte stream into messages by a length rule; a trailing partial message or an
// undefined type byte makes the result empty.
inline std::optional<std::vector<net::WireMessage>> splitMessages(
    const std::vector<std::uint8_t>& bytes, net::StreamReassembler::LengthRule rule) {
    std::vector<net::WireMessage> messages;
    net::StreamReassembler reassembler(rule);
    const bool inStep =
        reassembler.feed(bytes.data(), bytes.size(), [&](const net::WireMessage& m) {
            messages.push_back(m);
            return true;
        });
    if (!inStep || reassembler.holdsPartial()) return std::nullopt;
    return messages;
}

// The next whole message from `peer` by a length rule; empty when none came by the
// deadline, the peer closed or the type byte has no length.
inline std::optional<net::WireMessage> readMessage(Peer& peer,
                                                   net::StreamReassembler::LengthRule rule,
                                                   int timeoutMs = 2000) {
    std::vector<std::uint8_t> bytes = peer.read(1, timeoutMs);
    if (bytes.empty() || rule(bytes[0]) == 0) return std::nullopt;
    const std::vector<std::uint8_t> rest = peer.read(rule(bytes[0]) - 1, timeoutMs);
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    const auto messages = splitMessages(bytes, rule);
    return messages && messages->size() == 1 ? std::optional(messages->front()) : std::nullopt;
}

// Polls `condition` every millisecond until it holds or `timeoutMs` passes.
template <typename Condition>
bool eventually(Condition condition, int timeoutMs = 2000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace loopback
