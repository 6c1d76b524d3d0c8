#pragma once

#include <vector>

#include "image_files.h"

namespace datagen {

constexpr int kSampleRate = 22050;

// A mono signal in [-1, 1] at kSampleRate.
using Signal = std::vector<float>;

Signal silence(float seconds);
// Scales the signal so that its largest magnitude is `peak`.
void normalise(Signal& s, float peak);
// Adds `other` into `s` starting at sample `offset`, scaled by `gain`, fading out its last
// few milliseconds.
void mixInto(Signal& s, const Signal& other, float gain, size_t offset = 0);
// One-pole low-pass whose cutoff (Hz) may change per sample.
void lowPass(Signal& s, float cutoffStart, float cutoffEnd);
void highPass(Signal& s, float cutoff);
// Multiplies by an attack-then-exponential-decay envelope.
void envelope(Signal& s, float attack, float decayTime);
// Short fades at both ends so that a one-shot starts and stops without a click.
void fadeEdges(Signal& s, float seconds);

// 16-bit signed mono PCM in a RIFF WAVE file.
Bytes encodeWav(const Signal& s);
// MPEG-1/2 layer III via LAME, constant bit rate, no tag frames.
Bytes encodeMp3(const Signal& s);

}  // namespace datagen
