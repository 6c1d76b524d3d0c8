#include "server/relay_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "server/scheduling.h"

namespace server {
namespace {

constexpr std::uint64_t kListenerKey = 1;
constexpr std::uint64_t kWakeKey = 2;
constexpr std::uint64_t kStopKey = 3;
constexpr std::size_t kReadChunk = 16 * 1024;
constexpr int kReadsPerWakeup = 4;  // then the other clients get their turn
constexpr int kEventsPerWait = 64;

std::string describePeer(const sockaddr_in& address) {
    char text[INET_ADDRSTRLEN] = "?";
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(address.sin_port));
}

void watch(int epoll, int fd, std::uint32_t events, std::uint64_t key, int operation) {
    epoll_event event{};
    event.events = events;
    event.data.u64 = key;
    ::epoll_ctl(epoll, operation, fd, &event);
}

}  // namespace

RelayServer::RelayServer(const ServerConfig& config, Log log)
    : config_(config), log_(std::move(log)), sender_(config.batchWrites) {
    Outbox& outbox = *this;
    hub_ = std::make_unique<RelayHub>(config_.hub, outbox);
    byNumber_.assign(RelayHub::kMaxClientNumber + 1, nullptr);
    epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
    wake_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    spareFd_ = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (epoll_ >= 0 && wake_ >= 0) watch(epoll_, wake_, EPOLLIN, kWakeKey, EPOLL_CTL_ADD);
}

RelayServer::~RelayServer() {
    for (auto& entry : sessions_) ::close(entry.second->fd);
    for (int fd : {listener_, epoll_, wake_, spareFd_}) {
        if (fd >= 0) ::close(fd);
    }
}

bool RelayServer::listen(std::string& error) {
    if (epoll_ < 0 || wake_ < 0) {
        error = std::string("cannot set up the event loop: ") + std::strerror(errno);
        return false;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(config_.port);
    if (::inet_pton(AF_INET, config_.bindAddress.c_str(), &address.sin_addr) != 1) {
        error = "not an IPv4 address: " + config_.bindAddress;
        return false;
    }
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int on = 1;
    socklen_t size = sizeof address;
    if (listener_ < 0 || ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 64) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        error = "cannot listen on " + config_.bindAddress + ":" + std::to_string(config_.port) +
                ": " + std::strerror(errno);
        return false;
    }
    port_ = ntohs(address.sin_port);
    watch(epoll_, listener_, EPOLLIN, kListenerKey, EPOLL_CTL_ADD);
    return true;
}

void RelayServer::stop() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake_, &one, sizeof one);
}

std::int64_t RelayServer::nowMs() const {
    if (config_.clockMs) return config_.clockMs();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t RelayServer::nowUs() const {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool RelayServer::run(int stopFd) {
    if (stopFd >= 0) watch(epoll_, stopFd, EPOLLIN, kStopKey, EPOLL_CTL_ADD);
    // The gathering window is a fraction of a millisecond; the usual 50 us of timer slack
    // on every sleep would add to each relayed message's delay for nothing.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    askForPromptScheduling();
    bool stopping = false;
    while (!stopping) {
        const std::int64_t now = nowMs();
        std::optional<std::int64_t> wakeMs = closeSilent(now);
        if (const auto itemDue = hub_->nextDeadline())
            wakeMs = wakeMs ? std::min(*wakeMs, *itemDue) : itemDue;
        std::int64_t waitUs = -1;
        if (wakeMs) waitUs = std::clamp<std::int64_t>((*wakeMs - now) * 1000, 0, 60000000);
        // A client that just fell silent is closed at once.
        if (!doomed_.empty()) waitUs = 0;
        stopping = serveReady(waitUs);
        if (!dirty_.empty() && config_.flushDelayUs > 0 && !stopping) {
            // Let the others' messages gather for a moment, without waking for each one,
            // then take everything that came: one write per client for all of it.
            const std::int64_t dueUs = nowUs() + config_.flushDelayUs;
            const timespec due{dueUs / 1000000, (dueUs % 1000000) * 1000};
            while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) == EINTR) {
            }
            stopping = serveReady(0);
        }
        // Closing a client sends the others its removals, and a failed write closes a
        // client: go on until neither is left.
        while (!dirty_.empty() || !doomed_.empty()) {
            flushPending();
            closeDoomed();
        }
    }
    if (stopFd >= 0) ::epoll_ctl(epoll_, EPOLL_CTL_DEL, stopFd, nullptr);
    return failure_.empty();
}

void RelayServer::askForPromptScheduling() {
    // A message should not wait for whatever else this machine runs to end its slice.
    if (config_.realTimePriority > 0) {
        const std::string why = askForRealTime(config_.realTimePriority);
        if (why.empty()) {
            log_("real-time priority " + std::to_string(config_.realTimePriority));
            return;
        }
        log_("no real-time priority (" + why + "): short time slices instead");
    }
    if (const std::string why = askForShortTimeSlices(); !why.empty())
        log_("long time slices (" + why + "): relaying may wait behind other work");
}

int RelayServer::waitForEvents(epoll_event* events, int capacity, std::int64_t waitUs) {
    if (preciseWait_) {
        const timespec timeout{waitUs / 1000000, (waitUs % 1000000) * 1000};
        const int count =
            ::epoll_pwait2(epoll_, events, capacity, waitUs < 0 ? nullptr : &timeout, nullptr);
        if (count >= 0 || (errno != ENOSYS && errno != EPERM)) return count;
        preciseWait_ = false;
        log_(std::string("no epoll_pwait2 here (") + std::strerror(errno) +
             "): waiting with epoll_wait, to the millisecond");
    }
    // Rounded up: waking before a deadline would only mean waiting again.
    const int waitMs = waitUs < 0 ? -1 : static_cast<int>((waitUs + 999) / 1000);
    return ::epoll_wait(epoll_, events, capacity, waitMs);
}

bool RelayServer::serveReady(std::int64_t waitUs) {
    epoll_event events[kEventsPerWait];
    bool stopping = false;
    int count = 0;
    do {
        count = waitForEvents(events, kEventsPerWait, waitUs);
        if (count < 0 && errno == EINTR) return false;
        if (count < 0) {
            failure_ = std::string("waiting for events failed: ") + std::strerror(errno);
            return true;
        }
        // Silent clients go before a newcomer is let in, so that it can take their place.
        closeSilent(nowMs());
        closeDoomed();
        for (int i = 0; i < count; ++i) {
            const std::uint64_t key = events[i].data.u64;
            if (key == kListenerKey) {
                accept();
            } else if (key == kWakeKey || key == kStopKey) {
                stopping = true;
            } else if (const auto found = sessions_.find(key); found != sessions_.end()) {
                Session& session = *found->second;
                if ((events[i].events & (EPOLLIN | EPOLLHUP | EPOLLERR)) != 0) readFrom(session);
                if ((events[i].events & EPOLLOUT) != 0 && session.doomed.empty()) {
                    writeTo(session);
                }
            }
            closeDoomed();
        }
        waitUs = 0;  // more may be ready than one wait returns
    } while (count == kEventsPerWait && !stopping);
    hub_->tick(nowMs());
    closeDoomed();
    return stopping;
}

void RelayServer::accept() {
    for (;;) {
        sockaddr_in address{};
        socklen_t size = sizeof address;
        const int fd = ::accept4(listener_, reinterpret_cast<sockaddr*>(&address), &size,
                                 SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if ((errno == EMFILE || errno == ENFILE) && spareFd_ >= 0) {
                // Out of descriptors: free the spare one to take the waiting connection
                // off the queue and close it, so the listener does not stay ready forever.
                ::close(spareFd_);
                const int waiting = ::accept(listener_, nullptr, nullptr);
                if (waiting >= 0) ::close(waiting);
                spareFd_ = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
                log_("refused a connection: out of file descriptors");
            }
            return;
        }
        const std::string peer = describePeer(address);
        const int number = hub_->join();
        if (number < 0) {
            refuse(fd, peer);
            continue;
        }
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        const int kernelBuffer = config_.kernelSendBuffer;
        ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &kernelBuffer, sizeof kernelBuffer);
        auto session = std::make_unique<Session>();
        session->key = nextKey_++;
        session->fd = fd;
        session->number = number;
        session->peer = peer;
        session->lastHeardMs = nowMs();
        watch(epoll_, fd, EPOLLIN, session->key, EPOLL_CTL_ADD);
        byNumber_[static_cast<std::size_t>(number)] = session.get();
        sessions_[session->key] = std::move(session);
        log_("client " + std::to_string(number) + " joined from " + peer + " (" +
             std::to_string(hub_->playerCount()) + " of " + std::to_string(config_.hub.maxPlayers) +
             " players)");
        hub_->welcome(number);
    }
}

void RelayServer::refuse(int fd, const std::string& peer) {
    const std::uint8_t full = net::MSG_SERVER_FULL;
    [[maybe_unused]] const ssize_t sent = ::send(fd, &full, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    ::close(fd);
    log_("refused " + peer + ": server full");
}

void RelayServer::readFrom(Session& session) {
    std::uint8_t chunk[kReadChunk];
    for (int round = 0; round < kReadsPerWakeup && session.doomed.empty(); ++round) {
        const ssize_t received = ::recv(session.fd, chunk, sizeof chunk, 0);
        if (received < 0) {
            if (errno == EINTR) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                doom(session, std::string("connection failed: ") + std::strerror(errno));
            }
            return;
        }
        if (received == 0) {
            doom(session, "connection closed");
            return;
        }
        const std::int64_t now = nowMs();
        session.lastHeardMs = now;
        const bool inStep = session.input.feed(
            chunk, static_cast<std::size_t>(received), [&](const net::WireMessage& message) {
                ++messagesRead_;
                switch (hub_->receive(session.number, message, now)) {
                    case RelayHub::Verdict::Goodbye:
                        doom(session, "goodbye");
                        return false;
                    case RelayHub::Verdict::Cut:
                        doom(session, "cut: more than " +
                                          std::to_string(config_.hub.maxObjectsPerClient) +
                                          " live objects");
                        return false;
                    case RelayHub::Verdict::Keep:
                        break;
                }
                return session.doomed.empty();
            });
        if (!inStep) {
            char why[64];
            std::snprintf(why, sizeof why, "cut: undefined type byte 0x%02X",
                          session.input.undefinedType());
            doom(session, why);
        }
        if (static_cast<std::size_t>(received) < sizeof chunk) return;
    }
}

void RelayServer::sendTo(int clientNumber, const net::WireMessage& message) {
    if (clientNumber < 0 || static_cast<std::size_t>(clientNumber) >= byNumber_.size()) return;
    Session* session = byNumber_[static_cast<std::size_t>(clientNumber)];
    if (session == nullptr || !session->doomed.empty()) return;
    session->output.insert(session->output.end(), message.bytes.begin(),
                           message.bytes.begin() + message.length);
    ++messagesWritten_;
    if (session->output.size() - session->outputStart > config_.maxQueuedBytes) {
        // Output is flushed once per turn of the loop; a long turn can queue more than
        // the limit for a client that reads well, so hand the socket what it takes now.
        writeTo(*session);
        if (!session->doomed.empty()) return;
        if (session->output.size() - session->outputStart > config_.maxQueuedBytes) {
            doom(*session, "dropped: more than " + std::to_string(config_.maxQueuedBytes) +
                               " bytes waiting, the client does not read");
            return;
        }
    }
    if (!session->dirty) {
        session->dirty = true;
        dirty_.push_back(session->key);
    }
}

void RelayServer::flushPending() {
    for (const std::uint64_t key : dirty_) {
        const auto found = sessions_.find(key);
        if (found == sessions_.end()) continue;
        Session& session = *found->second;
        session.dirty = false;
        // A client waiting for room is written when epoll says so; one whose queue was
        // emptied on the way here has nothing left to send.
        if (!session.doomed.empty() || session.writeArmed ||
            session.outputStart == session.output.size()) {
            continue;
        }
        sender_.add(session.fd, session.output.data() + session.outputStart,
                    session.output.size() - session.outputStart, key);
    }
    dirty_.clear();
    sender_.sendAll([this](std::uint64_t key, ssize_t result) {
        const auto found = sessions_.find(key);
        if (found == sessions_.end()) return;
        Session& session = *found->second;
        if (result >= 0) {
            session.outputStart += static_cast<std::size_t>(result);
        } else if (result != -EAGAIN && result != -EWOULDBLOCK && result != -EINTR) {
            doom(session,
                 std::string("connection failed: ") + std::strerror(static_cast<int>(-result)));
            return;
        }
        settle(session);
    });
}

void RelayServer::writeTo(Session& session) {
    while (session.outputStart < session.output.size()) {
        const ssize_t sent =
            ::send(session.fd, session.output.data() + session.outputStart,
                   session.output.size() - session.outputStart, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            session.outputStart += static_cast<std::size_t>(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        doom(session, std::string("connection failed: ") + std::strerror(errno));
        return;
    }
    settle(session);
}

void RelayServer::settle(Session& session) {
    if (session.outputStart == session.output.size()) {
        session.output.clear();
        session.outputStart = 0;
        armWrite(session, false);
        return;
    }
    if (session.outputStart > kReadChunk) {
        session.output.erase(
            session.output.begin(),
            session.output.begin() + static_cast<std::ptrdiff_t>(session.outputStart));
        session.outputStart = 0;
    }
    armWrite(session, true);
}

void RelayServer::armWrite(Session& session, bool on) {
    if (session.writeArmed == on) return;
    session.writeArmed = on;
    watch(epoll_, session.fd, on ? EPOLLIN | EPOLLOUT : EPOLLIN, session.key, EPOLL_CTL_MOD);
}

void RelayServer::doom(Session& session, const std::string& why) {
    if (!session.doomed.empty()) return;
    session.doomed = why;
    doomed_.push_back(session.key);
}

std::optional<std::int64_t> RelayServer::closeSilent(std::int64_t now) {
    if (config_.idleTimeoutMs <= 0) return std::nullopt;
    std::optional<std::int64_t> next;
    for (auto& [key, session] : sessions_) {
        const std::int64_t due = session->lastHeardMs + config_.idleTimeoutMs;
        if (due <= now) {
            doom(*session, "silent for " + std::to_string(config_.idleTimeoutMs / 1000) + " s");
        } else if (!next || due < *next) {
            next = due;
        }
    }
    return next;
}

void RelayServer::closeDoomed() {
    // Withdrawing one client's objects can push another over its queue limit, so this
    // goes on until no session is left to close.
    while (!doomed_.empty()) {
        const std::uint64_t key = doomed_.back();
        doomed_.pop_back();
        const auto found = sessions_.find(key);
        if (found == sessions_.end()) continue;
        std::unique_ptr<Session> session = std::move(found->second);
        sessions_.erase(found);
        ::epoll_ctl(epoll_, EPOLL_CTL_DEL, session->fd, nullptr);
        ::close(session->fd);
        byNumber_[static_cast<std::size_t>(session->number)] = nullptr;
        hub_->leave(session->number);
        log_("client " + std::to_string(session->number) + " left: " + session->doomed + " (" +
             std::to_string(hub_->playerCount()) + " of " + std::to_string(config_.hub.maxPlayers) +
             " players)");
    }
}

}  // namespace server
