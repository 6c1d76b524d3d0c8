#pragma once

#include <cstddef>
#include <cstdint>

#include "net/thread.h"

namespace net {

// Called for every whole message: the type byte, the body (the bytes after the type
// byte) and the message's total length. The body is valid for the call only.
using ReceiveHandler = void (*)(void* context, std::uint8_t type, const std::uint8_t* body,
                                std::size_t length);

// Reads the server's stream, cuts it into messages by their type bytes and hands each
// to the handler. Ends quietly when the server closes the connection or the socket is
// shut down; after a handler has cleared `running` (a disconnect on this thread) it
// reads nothing more.
class ReceiveThread : public Thread {
  public:
    explicit ReceiveThread(int socket) : socket_(socket) {}
    ~ReceiveThread() override;

    // Before start().
    void setHandler(void* context, ReceiveHandler handler);

  protected:
    void run() override;

  private:
    ReceiveHandler handler_ = nullptr;
    void* context_ = nullptr;
    int socket_;
};

}  // namespace net
