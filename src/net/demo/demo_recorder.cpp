#include "net/demo/demo_recorder.h"

#include <utility>

#include "net/net_client.h"
#include "platform/message_box.h"

namespace demo {

Recorder::Recorder(std::string path) : path_(std::move(path)) {}

Recorder::~Recorder() {
    if (begun_ && !stopped_ && !writer_.finish())
        showError("demo recording failed: " + writer_.error());
}

void Recorder::attach(net::NetClient& client) {
    client.setMessageTap(this, &Recorder::tap);
}

void Recorder::tap(void* recorder, const std::uint8_t* bytes, std::size_t length) {
    auto& self = *static_cast<Recorder*>(recorder);
    net::WireMessage message;
    if (self.stopped_ || length == 0 || length > message.bytes.size()) return;
    std::copy(bytes, bytes + length, message.bytes.begin());
    message.length = length;
    std::lock_guard<std::mutex> guard(self.pendingLock_);
    if (self.pending_.size() >= kMaxPending) {
        self.overflow_ = true;
        return;
    }
    self.pending_.push_back(message);
}

void Recorder::begin(const Header& header) {
    if (stopped_ || begun_) return;
    begun_ = true;
    if (!writer_.open(path_, header)) {
        stop(writer_.error());
        return;
    }
    for (const Record& record : std::exchange(early_, {}))
        if (!stopped_) write(record);
}

void Recorder::pause() {
    Record record;
    record.kind = Record::Kind::Pause;
    take(std::move(record));
}

void Recorder::frame(const Frame& frame) {
    Record record;
    record.frame = frame;
    take(std::move(record));
}

void Recorder::take(Record record) {
    if (stopped_) return;
    bool overflow = false;
    {
        std::lock_guard<std::mutex> guard(pendingLock_);
        overflow = overflow_;
        record.messages.swap(pending_);
    }
    if (overflow) {
        stop(path_ + ": more than a million messages in one frame");
    } else if (!begun_) {
        early_.push_back(std::move(record));
    } else {
        write(record);
    }
}

void Recorder::write(const Record& record) {
    if (!writer_.write(record)) stop(writer_.error());
}

void Recorder::stop(const std::string& why) {
    stopped_ = true;
    early_.clear();
    {
        std::lock_guard<std::mutex> guard(pendingLock_);
        pending_ = {};
    }
    showError("demo recording stopped: " + why);
}

}  // namespace demo
