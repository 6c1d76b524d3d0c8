#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Points SDL's audio at its disk driver, which writes the mix (16-bit stereo) into a
// file in real time, so that a test can listen to what the game played. The sound
// manager created while this lives plays into `rawFile`; the destructor destroys it.
class DiskAudio {
  public:
    explicit DiskAudio(const std::string& rawFile, const char* driver = "disk");
    ~DiskAudio();
    DiskAudio(const DiskAudio&) = delete;
    DiskAudio& operator=(const DiskAudio&) = delete;

    // Destroys the sound manager (closing the device) and returns the left channel of
    // everything it played.
    std::vector<std::int16_t> closeAndListen() const;

    // Waits until a mixer channel has played out, at most five seconds: the disk driver
    // runs in real time, and slower on a loaded machine.
    static void waitUntilQuiet(int channel);
    // Waits until the driver has written `frames` more frames than it had when called,
    // at most ten seconds. A change made before the call (a volume, a sample started)
    // is heard in all but the first two mixing buffers of them.
    void waitForMoreAudio(std::size_t frames) const;
    static int loudSamples(const std::vector<std::int16_t>& mix);

  private:
    std::string rawFile_;
};

}  // namespace testing_support
