#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace server {

// Hands many small writes, each to its own socket, to the kernel in one system call (an
// io_uring) instead of one send() each. On loopback and in virtual machines the system
// call itself costs more than the few bytes it carries, and the relay writes to every
// client on every turn of its loop.
//
// Every write is non-blocking: it takes what the socket accepts now and reports the count,
// or -EAGAIN, as send() would, so a full socket never holds up the rest. Where the kernel
// offers no io_uring, or one that might park a write on a full socket instead of failing
// it, each write is an ordinary send().
class BatchSender {
  public:
    explicit BatchSender(bool useRing = true);
    BatchSender(const BatchSender&) = delete;
    BatchSender& operator=(const BatchSender&) = delete;
    ~BatchSender();

    // Whether writes go through the io_uring.
    bool batched() const { return ring_ >= 0; }
    // Queues `size` bytes at `data` for socket `fd`; the bytes must stay put until sendAll().
    void add(int fd, const std::uint8_t* data, std::size_t size, std::uint64_t tag);
    using Done = std::function<void(std::uint64_t tag, ssize_t result)>;
    // Writes everything queued and reports each write once, in any order: done(tag, result),
    // result being the count of bytes taken or a negated errno.
    void sendAll(const Done& done);

  private:
    struct Write {
        int fd;
        const std::uint8_t* data;
        std::size_t size;
        std::uint64_t tag;
        bool reported;
    };
    bool setUp();
    bool failsAtOnceWhenFull();
    void tearDown();
    // Puts one write into the submission ring; `index` comes back with its completion.
    void queue(const Write& write, std::uint64_t index);
    // Puts writes into the ring and reports those that complete; false when the ring fails
    // (the unreported writes are then left to send()).
    bool submit(Write* writes, std::size_t count, const Done& done);
    std::size_t reap(Write* writes, const Done& done);

    std::vector<Write> queued_;
    int ring_ = -1;
    unsigned entries_ = 0;
    void* sqRing_ = nullptr;
    std::size_t sqRingSize_ = 0;
    void* cqRing_ = nullptr;
    std::size_t cqRingSize_ = 0;
    void* sqes_ = nullptr;
    std::size_t sqesSize_ = 0;
    unsigned* sqHead_ = nullptr;
    unsigned* sqTail_ = nullptr;
    unsigned sqMask_ = 0;
    unsigned* sqArray_ = nullptr;
    unsigned* cqHead_ = nullptr;
    unsigned* cqTail_ = nullptr;
    unsigned cqMask_ = 0;
    void* cqes_ = nullptr;
};

}  // namespace server
