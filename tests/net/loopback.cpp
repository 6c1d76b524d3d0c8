#include "loopback.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace loopback {
namespace {

sockaddr_in loopbackAddress(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int msLeft(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

bool readable(int fd, int timeoutMs) {
    pollfd waiting{fd, POLLIN, 0};
    return ::poll(&waiting, 1, timeoutMs) > 0;
}

}  // namespace

Listener::Listener() {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopbackAddress(0);
    socklen_t size = sizeof address;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd_, 16) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        return;
    }
    port_ = ntohs(address.sin_port);
}

Listener::~Listener() {
    if (fd_ >= 0) ::close(fd_);
}

int Listener::accept(int timeoutMs) {
    if (fd_ < 0 || !readable(fd_, timeoutMs)) return -1;
    return ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
}

Peer::~Peer() {
    close();
}

Peer& Peer::operator=(Peer&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        pending_ = std::move(other.pending_);
        other.fd_ = -1;
    }
    return *this;
}

Peer Peer::connectTo(std::uint16_t port, int receiveBuffer) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return Peer();
    if (receiveBuffer > 0) {
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    }
    const sockaddr_in address = loopbackAddress(port);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return Peer();
    }
    return Peer(fd);
}

bool Peer::send(const void* bytes, std::size_t length) {
    const auto* next = static_cast<const std::uint8_t*>(bytes);
    while (length > 0) {
        const ssize_t sent = ::send(fd_, next, length, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        next += sent;
        length -= static_cast<std::size_t>(sent);
    }
    return true;
}

std::vector<std::uint8_t> Peer::read(std::size_t count, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<std::uint8_t> bytes;
    const std::size_t fromPending = std::min(count, pending_.size());
    bytes.assign(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(fromPending));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(fromPending));
    while (bytes.size() < count && readable(fd_, msLeft(deadline))) {
        std::uint8_t chunk[4096];
        const ssize_t got = ::recv(fd_, chunk, std::min(sizeof chunk, count - bytes.size()), 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

std::vector<std::uint8_t> Peer::readUntilQuiet(int quietMs, int limitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    std::vector<std::uint8_t> bytes = std::move(pending_);
    pending_.clear();
    while (readable(fd_, std::min(quietMs, msLeft(deadline)))) {
        std::uint8_t chunk[65536];
        const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

std::optional<net::WireMessage> Peer::readMessage(net::StreamReassembler::LengthRule rule,
                                                  int timeoutMs) {
    const std::vector<std::uint8_t> type = read(1, timeoutMs);
    if (type.size() != 1 || rule(type[0]) == 0) return std::nullopt;
    const std::size_t length = rule(type[0]);
    const std::vector<std::uint8_t> rest = read(length - 1, timeoutMs);
    if (rest.size() != length - 1) return std::nullopt;
    net::WireMessage message;
    message.bytes[0] = type[0];
    std::copy(rest.begin(), rest.end(), message.bytes.begin() + 1);
    message.length = length;
    return message;
}

bool Peer::waitForClose(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    pending_.clear();
    while (readable(fd_, msLeft(deadline))) {
        std::uint8_t chunk[65536];
        const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return true;
    }
    return false;
}

void Peer::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::optional<std::vector<net::WireMessage>> splitMessages(
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

}  // namespace loopback
