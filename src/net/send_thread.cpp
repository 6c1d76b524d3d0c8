#include "net/send_thread.h"

#include <utility>
#include <vector>

#include "net/connection.h"
#include "net/protocol/client_messages.h"
#include "platform/clock.h"

namespace net {

SendThread::SendThread(Connection* connection, PassWait wait)
    : connection_(connection), wait_(wait ? std::move(wait) : PassWait(platform::sleepMs)) {}

SendThread::~SendThread() {
    stop();
}

void SendThread::add(NetObject& object) {
    std::lock_guard<std::mutex> guard(networkLock_);
    objects_[object.netId()] = &object;
}

void SendThread::remove(const NetObject& object) {
    std::lock_guard<std::mutex> guard(networkLock_);
    objects_.erase(object.netId());
}

std::size_t SendThread::size() const {
    std::lock_guard<std::mutex> guard(networkLock_);
    return objects_.size();
}

void SendThread::run() {
    std::vector<std::uint8_t> pass;
    while (running_) {
        {
            std::lock_guard<std::mutex> guard(networkLock_);
            // One write per pass: the same bytes as one MSG_UPDATE per object, in the
            // table's order, without a system call for each.
            pass.clear();
            for (const auto& [id, object] : objects_) {
                const WireMessage update = encodeUpdate(id, object->netPose().load());
                pass.insert(pass.end(), update.bytes.begin(), update.bytes.begin() + update.length);
            }
            if (!pass.empty()) connection_->send(pass.data(), pass.size());
        }
        wait_(kPassIntervalMs);
    }
}

}  // namespace net
