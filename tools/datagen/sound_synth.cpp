#include "sound_synth.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "vec.h"

namespace datagen {

Signal silence(float seconds) {
    return Signal(static_cast<size_t>(seconds * static_cast<float>(kSampleRate)), 0.0f);
}

void normalise(Signal& s, float peak) {
    float largest = 0;
    for (float v : s) largest = std::max(largest, std::fabs(v));
    if (largest <= 0) return;
    for (float& v : s) v *= peak / largest;
}

void mixInto(Signal& s, const Signal& other, float gain, size_t offset) {
    // The last few milliseconds of `other` fade out, so a part cut short does not click.
    const size_t fade = std::min(other.size(), static_cast<size_t>(0.006f * kSampleRate));
    for (size_t i = 0; i < other.size() && offset + i < s.size(); ++i) {
        const size_t left = other.size() - i;
        const float g = left < fade ? static_cast<float>(left) / static_cast<float>(fade) : 1.0f;
        s[offset + i] += other[i] * gain * g;
    }
}
void lowPass(Signal& s, float cutoffStart, float cutoffEnd) {
    float state = 0;
    const float n = static_cast<float>(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        const float cutoff = lerp(cutoffStart, cutoffEnd, static_cast<float>(i) / n);
        const float k = 1.0f - std::exp(-2.0f * kPi * cutoff / static_cast<float>(kSampleRate));
        state += (s[i] - state) * k;
        s[i] = state;
    }
}

void highPass(Signal& s, float cutoff) {
    const float k = 1.0f - std::exp(-2.0f * kPi * cutoff / static_cast<float>(kSampleRate));
    float low = 0;
    for (float& v : s) {
        low += (v - low) * k;
        v -= low;
    }
}

void envelope(Signal& s, float attack, float decayTime) {
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(kSampleRate);
        const float rise = attack > 0 ? std::min(1.0f, t / attack) : 1.0f;
        const float fall = std::exp(-std::max(0.0f, t - attack) / decayTime);
        s[i] *= rise * fall;
    }
}

void fadeEdges(Signal& s, float seconds) {
    const size_t n = std::min(s.size() / 2, static_cast<size_t>(seconds * kSampleRate));
    for (size_t i = 0; i < n; ++i) {
        const float g = static_cast<float>(i) / static_cast<float>(n);
        s[i] *= g;
        s[s.size() - 1 - i] *= g;
    }
}

namespace {

std::vector<short> toPcm(const Signal& s) {
    std::vector<short> pcm(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        pcm[i] = static_cast<short>(std::lround(std::clamp(s[i], -1.0f, 1.0f) * 32767.0f));
    }
    return pcm;
}

}  // namespace

Bytes encodeWav(const Signal& s) {
    const std::vector<short> pcm = toPcm(s);
    const uint32_t dataSize = static_cast<uint32_t>(pcm.size() * 2);
    Bytes out{'R', 'I', 'F', 'F'};
    putU32(out, 36 + dataSize);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putU32(out, 16);
    putU16(out, 1);  // PCM
    putU16(out, 1);  // mono
    putU32(out, kSampleRate);
    putU32(out, kSampleRate * 2);  // bytes per second
    putU16(out, 2);                // block align
    putU16(out, 16);               // bits per sample
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    putU32(out, dataSize);
    for (short v : pcm) putU16(out, static_cast<uint16_t>(v));
    return out;
}

Bytes encodeMp3(const Signal& s) {
    std::vector<short> pcm = toPcm(s);
    lame_global_flags* lame = lame_init();
    if (lame == nullptr) throw std::runtime_error("cannot start the MP3 encoder");
    lame_set_in_samplerate(lame, kSampleRate);
    lame_set_out_samplerate(lame, kSampleRate);
    lame_set_num_channels(lame, 1);
    lame_set_mode(lame, MONO);
    lame_set_brate(lame, 64);
    lame_set_quality(lame, 2);
    lame_set_bWriteVbrTag(lame, 0);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        throw std::runtime_error("cannot set up the MP3 encoder");
    }
    Bytes out(pcm.size() * 5 / 4 + 7200 + 7200);
    int written = lame_encode_buffer(lame, pcm.data(), pcm.data(), static_cast<int>(pcm.size()),
                                     out.data(), static_cast<int>(out.size()));
    if (written < 0) {
        lame_close(lame);
        throw std::runtime_error("MP3 encoding failed");
    }
    const int flushed =
        lame_encode_flush(lame, out.data() + written, static_cast<int>(out.size()) - written);
    lame_close(lame);
    if (flushed < 0) throw std::runtime_error("MP3 encoding failed");
    out.resize(static_cast<size_t>(written + flushed));
    return out;
}

}  // namespace datagen
