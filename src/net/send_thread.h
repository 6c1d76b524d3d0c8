#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <unordered_map>

#include "net/net_object.h"
#include "net/thread.h"

namespace net {

class Connection;

// Streams the pose of every own object to the server with MSG_UPDATE, one pass every
// 20 ms. No change detection, no rate adaptation.
class SendThread : public Thread {
  public:
    static constexpr int kPassIntervalMs = 20;

    // Waits between two passes, given the interval in milliseconds. The game sleeps; a
    // test may let each pass go itself instead of counting on the clock.
    using PassWait = std::function<void(std::uint32_t milliseconds)>;

    // Without `wait`, the thread sleeps between passes.
    explicit SendThread(Connection* connection, PassWait wait = nullptr);
    ~SendThread() override;

    // Enters the object under its identifier (replacing one with the same identifier).
    void add(NetObject& object);
    // Erases the entry with the object's identifier. Waits for a pass in progress, so
    // the object is not sent again once this returns.
    void remove(const NetObject& object);
    std::size_t size() const;

  protected:
    void run() override;

  private:
    Connection* connection_;  // not owned
    PassWait wait_;
    // The network lock: guards objects_. Held for one whole pass and by add/remove.
    // Lock order: the World's lock first, then this one, then the connection's send lock.
    mutable std::mutex networkLock_;
    std::unordered_map<std::int32_t, NetObject*> objects_;
};

}  // namespace net
