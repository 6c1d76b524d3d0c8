#pragma once

#include <atomic>
#include <mutex>
#include <thread>

namespace net {

// Base of the two network threads. `running` is set by start() and cleared by stop() or
// by run() itself; run() loops while it is set.
class Thread {
  public:
    Thread() = default;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    // Derived classes stop the thread in their own destructors, before their members go;
    // this one only catches a thread that is still joinable.
    virtual ~Thread();

    // Starts run() on a new thread: 0, or -1 when no thread could be created.
    int start();
    // Clears `running` and waits until run() has returned. Called on the thread itself
    // it only clears `running` (a thread cannot wait for itself); the owner joins later.
    void stop();
    bool isRunning() const { return running_.load(); }
    bool isCurrentThread() const;

  protected:
    virtual void run() = 0;

    std::atomic<bool> running_{false};

  private:
    std::mutex handleLock_;  // guards handle_: stop() may come from two threads at once
    std::thread handle_;
    std::atomic<std::thread::id> runningId_{};  // the id of the thread inside run()
};

}  // namespace net
