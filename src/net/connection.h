#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "net/protocol/wire_message.h"
#include "net/receive_thread.h"

namespace net {

// The one TCP connection to the game server: an IPv4 stream socket, blocking for reads,
// with whole-message sends that never interleave between threads.
class Connection {
  public:
    // How long looking the host name up, and then the connect, may each take before the
    // connection counts as failed.
    static constexpr int kResolveTimeoutMs = 3000;
    static constexpr int kConnectTimeoutMs = 3000;
    // How long one send may wait for a server that does not read. After that the
    // stream may hold part of a message, so the connection is given up.
    static constexpr int kSendTimeoutMs = 400;

    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();

    // Connects to the server_ip and server_port of the settings: 0, or -1 on any failure.
    int open();
    // `host` is a dotted IPv4 address or a host name, which is resolved.
    int open(const char* host, std::uint16_t port);
    // Writes the message whole or not at all; failures are not reported (always 0).
    int send(const void* bytes, std::size_t length);
    int send(const WireMessage& message) { return send(message.bytes.data(), message.length); }
    void setHandler(void* context, ReceiveHandler handler);
    // 0, or -1 when not open or no thread could be started.
    int startReceiving();
    // Shuts the socket down, which ends a blocked receive, waits for the receiving thread
    // (unless called on it) and closes the socket.
    void close();

    bool isOpen() const;
    // True while the receiving thread runs.
    bool isReceiving() const;
    // True after a send timed out or failed; nothing more is sent.
    bool isBroken() const;

  private:
    std::mutex lifecycleLock_;     // open() and close() from the owner's thread
    mutable std::mutex sendLock_;  // guards socket_ and broken_; one message at a time
    int socket_ = -1;
    bool broken_ = false;
    std::unique_ptr<ReceiveThread> receiveThread_;  // set by open(), guarded by sendLock_
};

}  // namespace net
