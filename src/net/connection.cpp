#include "net/connection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "config/settings.h"
#include "net/host_lookup.h"

namespace net {
namespace {

// A blocking connect can hang for minutes on an unreachable host, and the match start
// waits for it; this one gives up after `timeoutMs` and leaves the socket blocking.
bool connectWithin(int socket, const sockaddr_in& address, int timeoutMs) {
    const int flags = ::fcntl(socket, F_GETFL);
    if (flags < 0 || ::fcntl(socket, F_SETFL, flags | O_NONBLOCK) < 0) return false;
    bool connected =
        ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (!connected && errno == EINPROGRESS) {
        pollfd waiting{socket, POLLOUT, 0};
        int error = 0;
        socklen_t size = sizeof error;
        connected = ::poll(&waiting, 1, timeoutMs) == 1 &&
                    ::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
    }
    return ::fcntl(socket, F_SETFL, flags) == 0 && connected;
}

int millisecondsLeft(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

Connection::~Connection() {
    close();
}

int Connection::open() {
    char host[Settings::kTextSize];
    Settings::getServerIp(host);
    return open(host, Settings::getServerPort());
}

int Connection::open(const char* host, std::uint16_t port) {
    close();
    std::lock_guard<std::mutex> lifecycle(lifecycleLock_);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (!resolveWithin(host, address.sin_addr, std::chrono::milliseconds(kResolveTimeoutMs)))
        return -1;
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) return -1;
    if (!connectWithin(socket, address, kConnectTimeoutMs)) {
        ::close(socket);
        return -1;
    }
    std::lock_guard<std::mutex> guard(sendLock_);
    socket_ = socket;
    broken_ = false;
    receiveThread_ = std::make_unique<ReceiveThread>(socket);
    return 0;
}

int Connection::send(const void* bytes, std::size_t length) {
    std::lock_guard<std::mutex> guard(sendLock_);
    if (socket_ < 0 || broken_) return 0;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kSendTimeoutMs);
    const auto* next = static_cast<const std::uint8_t*>(bytes);
    std::size_t left = length;
    while (left > 0) {
        // MSG_NOSIGNAL: a server that went away must not kill the game with SIGPIPE.
        const ssize_t sent = ::send(socket_, next, left, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            next += sent;
            left -= static_cast<std::size_t>(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd waiting{socket_, POLLOUT, 0};
            const int ready = ::poll(&waiting, 1, millisecondsLeft(deadline));
            if (ready > 0 || (ready < 0 && errno == EINTR)) continue;
        }
        // Part of a message may be in the stream now: nothing later could be read in
        // step, so the connection is over. The shutdown also ends the receiving thread.
        broken_ = true;
        ::shutdown(socket_, SHUT_RDWR);
        break;
    }
    return 0;
}

void Connection::setHandler(void* context, ReceiveHandler handler) {
    std::lock_guard<std::mutex> guard(sendLock_);
    if (receiveThread_) receiveThread_->setHandler(context, handler);
}

int Connection::startReceiving() {
    std::lock_guard<std::mutex> guard(sendLock_);
    if (!receiveThread_ || socket_ < 0) return -1;
    return receiveThread_->start();
}

void Connection::close() {
    ReceiveThread* receiver = nullptr;
    {
        std::lock_guard<std::mutex> guard(sendLock_);
        receiver = receiveThread_.get();
        if (receiver != nullptr && receiver->isCurrentThread()) {
            // A handler disconnects (server full): the loop ends after this message and
            // the owner joins the thread later.
            receiver->stop();
            if (socket_ >= 0) {
                ::shutdown(socket_, SHUT_RDWR);
                ::close(socket_);
                socket_ = -1;
            }
            return;
        }
    }
    std::lock_guard<std::mutex> lifecycle(lifecycleLock_);
    {
        std::lock_guard<std::mutex> guard(sendLock_);
        if (socket_ >= 0) ::shutdown(socket_, SHUT_RDWR);
        receiver = receiveThread_.get();
    }
    if (receiver != nullptr) receiver->stop();
    std::unique_ptr<ReceiveThread> ended;
    std::lock_guard<std::mutex> guard(sendLock_);
    if (socket_ >= 0) ::close(socket_);
    socket_ = -1;
    ended = std::move(receiveThread_);
}

bool Connection::isOpen() const {
    std::lock_guard<std::mutex> guard(sendLock_);
    return socket_ >= 0 && !broken_;
}

bool Connection::isReceiving() const {
    std::lock_guard<std::mutex> guard(sendLock_);
    return receiveThread_ && receiveThread_->isRunning();
}

bool Connection::isBroken() const {
    std::lock_guard<std::mutex> guard(sendLock_);
    return broken_;
}

}  // namespace net
