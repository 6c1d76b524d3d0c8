#include "loopback.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

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
    const auto left = deadline - std::chrono::steady_clock::now();
    return static_cast<int>(
        std::max<long>(0, std::chrono::ceil<std::chrono::milliseconds>(left).count()));
}

bool readable(int fd, int timeoutMs) {
    pollfd waiting{fd, POLLIN, 0};
    return ::poll(&waiting, 1, timeoutMs) > 0;
}

}  // namespace

Listener::Listener(bool listening) : socket_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    const int on = 1, fd = socket_.fd();
    sockaddr_in address = loopbackAddress(0);
    socklen_t size = sizeof address;
    if (::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0 &&
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        (!listening || ::listen(fd, 16) == 0) &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port_ = ntohs(address.sin_port);
}

int Listener::accept(int timeoutMs) {
    if (!readable(socket_.fd(), timeoutMs)) return -1;
    return ::accept4(socket_.fd(), nullptr, nullptr, SOCK_CLOEXEC);
}

Peer Peer::connectTo(std::uint16_t port, int receiveBuffer) {
    Peer peer(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (receiveBuffer > 0)
        ::setsockopt(peer.fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    const sockaddr_in address = loopbackAddress(port);
    if (::connect(peer.fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        peer.close();
    return peer;
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

std::vector<std::uint8_t> Peer::receive(std::size_t count, int limitMs, bool* closed) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    while (bytes.size() < count && readable(fd_, msLeft(deadline))) {
        const ssize_t got = ::recv(fd_, chunk, std::min(sizeof chunk, count - bytes.size()), 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (closed != nullptr) *closed = true;
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

}  // namespace loopback
