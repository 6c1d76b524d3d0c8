#include "net/receive_thread.h"

#include <sys/socket.h>

#include <cerrno>

#include "net/protocol/message_types.h"
#include "net/protocol/stream_reassembler.h"
#include "platform/message_box.h"

namespace net {

ReceiveThread::~ReceiveThread() {
    stop();
}

void ReceiveThread::setHandler(void* context, ReceiveHandler handler) {
    context_ = context;
    handler_ = handler;
}

void ReceiveThread::run() {
    StreamReassembler reassembler(&serverMessageLength);
    std::uint8_t chunk[4096];
    while (running_) {
        const ssize_t received = ::recv(socket_, chunk, sizeof chunk, 0);
        if (received < 0 && errno == EINTR) continue;
        if (received <= 0) break;
        reassembler.feed(chunk, static_cast<std::size_t>(received),
                         [this](const WireMessage& message) {
                             if (message.type() == MSG_SERVER_FULL) showError("Server full");
                             if (handler_ != nullptr) {
                                 handler_(context_, message.type(), message.body(), message.length);
                             }
                             return running_.load();
                         });
    }
    running_ = false;
}

}  // namespace net
