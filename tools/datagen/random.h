#pragma once

#include <cstdint>

namespace datagen {

// Our own generator and noise, so that every machine writes the same bytes: the standard
// library's distributions are free to differ between implementations.
class Random {
  public:
    explicit Random(uint64_t seed) : state_(seed) {}

    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    float uniform() { return static_cast<float>(next() >> 40) / static_cast<float>(1 << 24); }
    float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }

  private:
    uint64_t state_;
};

// Value noise on an integer lattice that repeats every `period` cells in x and y, smoothed
// with a quintic fade; values in [0, 1].
float latticeNoise(float x, float y, int period, uint32_t seed);

// Sum of `octaves` layers of latticeNoise, each twice the frequency and `gain` times the
// amplitude of the one before; normalised to [0, 1]. Tiles when period tiles.
float fractalNoise(float x, float y, int period, int octaves, float gain, uint32_t seed);

// Like fractalNoise but without tiling, each octave turned by a different angle so that
// the lattice's grid does not show as straight ridges.
float turnedNoise(float x, float y, int octaves, float gain, uint32_t seed);

}  // namespace datagen
