#include "net/thread.h"

#include <system_error>

namespace net {

Thread::~Thread() {
    stop();
}

int Thread::start() {
    std::lock_guard<std::mutex> guard(handleLock_);
    if (handle_.joinable()) {
        if (running_.load()) return 0;
        handle_.join();
    }
    running_ = true;
    try {
        handle_ = std::thread([this] {
            runningId_ = std::this_thread::get_id();
            run();
        });
    } catch (const std::system_error&) {
        running_ = false;
        return -1;
    }
    return 0;
}

void Thread::stop() {
    running_ = false;
    if (isCurrentThread()) return;
    std::lock_guard<std::mutex> guard(handleLock_);
    if (handle_.joinable()) handle_.join();
    runningId_ = std::thread::id{};
}

bool Thread::isCurrentThread() const {
    return runningId_.load() == std::this_thread::get_id();
}

}  // namespace net
