#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "net/demo/demo_format.h"

namespace net {
class NetClient;
}

namespace demo {

// Records a match as this client sees it. The server's messages arrive on the receiving
// thread through the NetClient's tap and wait here; the main thread writes them out
// with the start's pause or the frame they arrived in. The file is created once the
// match knows its level (begin); what comes before is kept until then. A write error
// stops the recording with one message, never the match.
class Recorder {
  public:
    // Messages kept between two frames at most; beyond it the recording stops, so a
    // main thread that stalls cannot make the queue grow without end.
    static constexpr std::size_t kMaxPending = 1u << 20;

    explicit Recorder(std::string path);
    // Writes the end record.
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // From now on every whole message the client receives is recorded. Before connect.
    void attach(net::NetClient& client);
    // Creates the file with this header and writes what was kept.
    void begin(const Header& header);
    // The end of a pause of the match start, or of a frame: what arrived meanwhile is
    // written with it.
    void pause();
    void frame(const Frame& frame);
    bool stopped() const { return stopped_; }

  private:
    static void tap(void* recorder, const std::uint8_t* bytes, std::size_t length);
    // Gives the record what arrived since the last one, and writes or keeps it.
    void take(Record record);
    void write(const Record& record);
    void stop(const std::string& why);

    std::string path_;
    Writer writer_;
    bool begun_ = false;
    std::atomic<bool> stopped_{false};  // the tap reads it
    std::vector<Record> early_;         // records before begin
    std::mutex pendingLock_;            // guards pending_ and overflow_
    std::vector<net::WireMessage> pending_;
    bool overflow_ = false;
};

}  // namespace demo
