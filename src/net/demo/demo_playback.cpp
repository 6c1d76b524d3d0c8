#include "net/demo/demo_playback.h"

#include <chrono>
#include <ctime>
#include <utility>

#include "net/net_client.h"

namespace demo {

namespace {

double processorNow() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

}  // namespace

Playback::Playback(Demo demo, std::function<double()> wallSeconds)
    : demo_(std::move(demo)), wallSeconds_(std::move(wallSeconds)) {
    frameSeconds_.reserve(demo_.frameCount);
}

double Playback::now() const {
    if (wallSeconds_) return wallSeconds_();
    using Seconds = std::chrono::duration<double>;
    return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Playback::dispatch(net::NetClient& client, const Record& record) const {
    for (const net::WireMessage& message : record.messages)
        net::NetClient::dispatch(&client, message.type(), message.body(), message.length);
}

void Playback::pause(net::NetClient& client) {
    if (next_ < demo_.records.size() && demo_.records[next_].kind == Record::Kind::Pause)
        dispatch(client, demo_.records[next_++]);
}

const Frame* Playback::beginFrame(net::NetClient& client) {
    if (begun_ != nullptr) return &begun_->frame;
    if (lastEnd_ < 0.0) {
        lastEnd_ = now();
        cpuStart_ = cpuEnd_ = processorNow();
    }
    while (next_ < demo_.records.size()) {
        const Record& record = demo_.records[next_++];
        if (record.kind == Record::Kind::Frame) {
            begun_ = &record;
            return &record.frame;
        }
        dispatch(client, record);
    }
    return nullptr;
}

void Playback::restartTiming() {
    lastEnd_ = now();
    cpuStart_ = cpuEnd_ = processorNow();
}

void Playback::endFrame(net::NetClient& client) {
    if (begun_ == nullptr) return;
    dispatch(client, *std::exchange(begun_, nullptr));
    const double end = now();
    frameSeconds_.push_back(end - lastEnd_);
    lastEnd_ = end;
    cpuEnd_ = processorNow();
}

}  // namespace demo
