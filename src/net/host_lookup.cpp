#include "net/host_lookup.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace net {
namespace {

// Shared by the caller and the lookup's thread, which may outlive the caller's wait.
struct Lookup {
    std::mutex lock;  // guards the fields below
    std::condition_variable ended;
    bool done = false;
    bool found = false;
    in_addr address{};
};

}  // namespace

bool systemResolve(const std::string& host, in_addr& address) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return false;
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return true;
}

bool resolveWithin(const char* host, in_addr& address, std::chrono::milliseconds timeout,
                   const Resolver& resolver) {
    if (host == nullptr || host[0] == '\0') return false;
    if (::inet_pton(AF_INET, host, &address) == 1) return true;
    const auto lookup = std::make_shared<Lookup>();
    try {
        std::thread([lookup, resolver, name = std::string(host)] {
            in_addr answer{};
            const bool found = resolver(name, answer);
            std::lock_guard<std::mutex> guard(lookup->lock);
            lookup->done = true;
            lookup->found = found;
            lookup->address = answer;
            lookup->ended.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return false;
    }
    std::unique_lock<std::mutex> guard(lookup->lock);
    if (!lookup->ended.wait_for(guard, timeout, [&] { return lookup->done; })) return false;
    if (lookup->found) address = lookup->address;
    return lookup->found;
}

}  // namespace net
