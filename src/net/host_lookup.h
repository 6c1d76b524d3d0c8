#pragma once

#include <netinet/in.h>

#include <chrono>
#include <functional>
#include <string>

namespace net {

// A blocking lookup of a host name's IPv4 address: true with `address` set when found.
using Resolver = std::function<bool(const std::string& host, in_addr& address)>;

// The system's resolver (getaddrinfo), which may take as long as it likes.
bool systemResolve(const std::string& host, in_addr& address);

// A dotted address is used as it is. Anything else is looked up by `resolver` on a
// thread of its own, and given up after `timeout`: the caller is the game's main thread,
// which must not wait for a name server that does not answer. A lookup given up goes on
// by itself and its answer is dropped.
bool resolveWithin(const char* host, in_addr& address, std::chrono::milliseconds timeout,
                   const Resolver& resolver = systemResolve);

}  // namespace net
