#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "net/demo/demo_format.h"

namespace net {
class NetClient;
}

namespace demo {

// Plays a demo back into a match: each record's messages go into the client's
// dispatch, as the receiving thread would have handed them over, and each frame's
// recorded values drive the player's side. A frame is begun by whichever of the idle
// and the display comes first and ends once drawn, so a dead player's frames (drawn
// without an idle) advance the demo too. A frame's messages arrived while it was under
// way, mostly while it was drawn: they are dispatched once it is drawn, so the next
// frame's idle sees them, as it did in the match recorded.
class Playback {
  public:
    // `wallSeconds` is a steady clock for the frame times of the timedemo.
    explicit Playback(Demo demo, std::function<double()> wallSeconds = {});

    const Header& header() const { return demo_.header; }
    std::size_t frameCount() const { return demo_.frameCount; }
    // The end of a pause of the match start: the next pause record's messages are
    // dispatched. A frame record is left for beginFrame.
    void pause(net::NetClient& client);
    // The frame being played: the next frame record (any pause record before it
    // dispatched first); the same one until endFrame. Null once the demo is over.
    const Frame* beginFrame(net::NetClient& client);
    // The frame begun has been drawn: its messages are dispatched.
    void endFrame(net::NetClient& client);
    // The frame begun is timed from now on: what ran since its begin (a warm-up draw)
    // counts in no figure.
    void restartTiming();
    bool over() const { return next_ >= demo_.records.size() && !begun_; }
    // How long each frame drawn took, from its begin (the first) or the last frame's
    // end, in seconds.
    const std::vector<double>& frameSeconds() const { return frameSeconds_; }
    // The processor time of the whole process (every thread, the software renderer's
    // too) from the first frame's begin to the last frame's end, in seconds: what the
    // frames cost when other work shares the machine.
    double processorSeconds() const { return cpuEnd_ - cpuStart_; }

  private:
    void dispatch(net::NetClient& client, const Record& record) const;
    double now() const;

    Demo demo_;
    std::function<double()> wallSeconds_;
    std::size_t next_ = 0;
    const Record* begun_ = nullptr;
    double lastEnd_ = -1.0;
    double cpuStart_ = 0.0;
    double cpuEnd_ = 0.0;
    std::vector<double> frameSeconds_;
};

}  // namespace demo
