#include "server/batch_sender.h"

#include <linux/io_uring.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace server {
namespace {

// Enough for one write to every client a server can number.
constexpr unsigned kRingEntries = 128;

int ioUringSetup(unsigned entries, io_uring_params* params) {
    return static_cast<int>(::syscall(__NR_io_uring_setup, entries, params));
}

int ioUringEnter(int ring, unsigned toSubmit, unsigned minComplete, unsigned flags) {
    return static_cast<int>(
        ::syscall(__NR_io_uring_enter, ring, toSubmit, minComplete, flags, nullptr, 0));
}

// The ring's head and tail indices are shared with the kernel.
unsigned loadAcquire(const unsigned* at) {
    return std::atomic_ref<const unsigned>(*at).load(std::memory_order_acquire);
}

void storeRelease(unsigned* at, unsigned value) {
    std::atomic_ref<unsigned>(*at).store(value, std::memory_order_release);
}

template <typename T>
T* field(void* base, std::uint32_t offset) {
    return reinterpret_cast<T*>(static_cast<char*>(base) + offset);
}

void* mapRing(int ring, std::size_t size, off_t offset) {
    void* at =
        ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_POPULATE, ring, offset);
    return at == MAP_FAILED ? nullptr : at;
}

ssize_t sendNow(int fd, const std::uint8_t* data, std::size_t size) {
    for (;;) {
        const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent >= 0) return sent;
        if (errno != EINTR) return -errno;
    }
}

}  // namespace

BatchSender::BatchSender(bool useRing) {
    if (useRing && !setUp()) tearDown();
}

BatchSender::~BatchSender() {
    tearDown();
}

bool BatchSender::setUp() {
    // Every write of a turn is consumed even when one of them is refused, so each one
    // gets its completion.
    io_uring_params params{};
    params.flags = IORING_SETUP_SUBMIT_ALL | IORING_SETUP_COOP_TASKRUN;
    ring_ = ioUringSetup(kRingEntries, &params);
    if (ring_ < 0) return false;
    entries_ = params.sq_entries;
    sqRingSize_ = params.sq_off.array + params.sq_entries * sizeof(unsigned);
    cqRingSize_ = params.cq_off.cqes + params.cq_entries * sizeof(io_uring_cqe);
    sqesSize_ = params.sq_entries * sizeof(io_uring_sqe);
    sqRing_ = mapRing(ring_, sqRingSize_, IORING_OFF_SQ_RING);
    cqRing_ = mapRing(ring_, cqRingSize_, IORING_OFF_CQ_RING);
    sqes_ = mapRing(ring_, sqesSize_, IORING_OFF_SQES);
    if (sqRing_ == nullptr || cqRing_ == nullptr || sqes_ == nullptr) return false;
    sqHead_ = field<unsigned>(sqRing_, params.sq_off.head);
    sqTail_ = field<unsigned>(sqRing_, params.sq_off.tail);
    sqMask_ = *field<unsigned>(sqRing_, params.sq_off.ring_mask);
    sqArray_ = field<unsigned>(sqRing_, params.sq_off.array);
    cqHead_ = field<unsigned>(cqRing_, params.cq_off.head);
    cqTail_ = field<unsigned>(cqRing_, params.cq_off.tail);
    cqMask_ = *field<unsigned>(cqRing_, params.cq_off.ring_mask);
    cqes_ = field<void>(cqRing_, params.cq_off.cqes);
    return failsAtOnceWhenFull();
}

// The relay must never wait for one client. A kernel that parked a non-blocking write to
// a full socket until it drained, instead of failing it at once, would make a turn wait
// for the slowest reader: try one on a full socket pair before trusting the ring.
bool BatchSender::failsAtOnceWhenFull() {
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, pair) != 0) {
        return false;
    }
    static const std::uint8_t filler[4096] = {};
    while (::send(pair[0], filler, sizeof filler, MSG_NOSIGNAL | MSG_DONTWAIT) > 0) {
    }
    bool atOnce = false;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
        Write probe{pair[0], filler, sizeof filler, 0, false};
        ssize_t result = 0;
        // No waiting here: a parked write would show up as a missing completion.
        queue(probe, 0);
        if (ioUringEnter(ring_, 1, 0, 0) == 1) {
            reap(&probe, [&](std::uint64_t, ssize_t res) { result = res; });
            atOnce = probe.reported && result == -EAGAIN;
        }
    }
    // Closing the reading end ends a parked write with an error, before the ring goes.
    ::close(pair[1]);
    ::close(pair[0]);
    return atOnce;
}

void BatchSender::tearDown() {
    if (sqes_ != nullptr) ::munmap(sqes_, sqesSize_);
    if (cqRing_ != nullptr) ::munmap(cqRing_, cqRingSize_);
    if (sqRing_ != nullptr) ::munmap(sqRing_, sqRingSize_);
    if (ring_ >= 0) ::close(ring_);
    sqes_ = cqRing_ = sqRing_ = nullptr;
    ring_ = -1;
}

void BatchSender::add(int fd, const std::uint8_t* data, std::size_t size, std::uint64_t tag) {
    queued_.push_back({fd, data, size, tag, false});
}

void BatchSender::sendAll(const Done& done) {
    for (std::size_t first = 0; first < queued_.size() && batched(); first += entries_) {
        const std::size_t count = std::min<std::size_t>(queued_.size() - first, entries_);
        if (!submit(&queued_[first], count, done)) tearDown();
    }
    for (Write& write : queued_) {
        if (!write.reported) done(write.tag, sendNow(write.fd, write.data, write.size));
    }
    queued_.clear();
}

void BatchSender::queue(const Write& write, std::uint64_t index) {
    const unsigned tail = *sqTail_;
    const unsigned slot = tail & sqMask_;
    io_uring_sqe& sqe = static_cast<io_uring_sqe*>(sqes_)[slot];
    std::memset(&sqe, 0, sizeof sqe);
    sqe.opcode = IORING_OP_SEND;
    sqe.fd = write.fd;
    sqe.addr = reinterpret_cast<std::uint64_t>(write.data);
    sqe.len = static_cast<std::uint32_t>(write.size);
    sqe.msg_flags = MSG_NOSIGNAL | MSG_DONTWAIT;
    sqe.user_data = index;
    sqArray_[slot] = slot;
    storeRelease(sqTail_, tail + 1);
}

bool BatchSender::submit(Write* writes, std::size_t count, const Done& done) {
    for (std::size_t i = 0; i < count; ++i) queue(writes[i], i);
    const unsigned tail = *sqTail_;
    // The writes run during the call and fail rather than wait (checked when the ring was
    // set up), so waiting for all their completions returns at once.
    std::size_t reported = 0;
    while (reported < count) {
        const unsigned unsent = tail - loadAcquire(sqHead_);
        const int entered = ioUringEnter(ring_, unsent, static_cast<unsigned>(count - reported),
                                         IORING_ENTER_GETEVENTS);
        reported += reap(writes, done);
        if (entered < 0 && errno != EINTR) return reported == count;
    }
    return true;
}

std::size_t BatchSender::reap(Write* writes, const Done& done) {
    std::size_t reaped = 0;
    unsigned head = *cqHead_;
    const unsigned tail = loadAcquire(cqTail_);
    const auto* cqes = static_cast<const io_uring_cqe*>(cqes_);
    for (; head != tail; ++head, ++reaped) {
        const io_uring_cqe& cqe = cqes[head & cqMask_];
        Write& write = writes[cqe.user_data];
        write.reported = true;
        done(write.tag, cqe.res);
    }
    storeRelease(cqHead_, head);
    return reaped;
}

}  // namespace server
