#include <cmath>

#include "generators.h"
#include "random.h"
#include "sound_synth.h"
#include "vec.h"

namespace datagen {
namespace {

float timeOf(size_t i) {
    return static_cast<float>(i) / static_cast<float>(kSampleRate);
}

Signal noise(float seconds, uint64_t seed) {
    Random random(seed);
    Signal s = silence(seconds);
    for (float& v : s) v = random.range(-1, 1);
    return s;
}

// A sine whose frequency glides exponentially from f0 to f1 over the signal.
Signal glide(float seconds, float f0, float f1) {
    Signal s = silence(seconds);
    float phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(s.size());
        phase += 2 * kPi * f0 * std::pow(f1 / f0, t) / static_cast<float>(kSampleRate);
        s[i] = std::sin(phase);
    }
    return s;
}

// Inharmonic partials of struck metal, each decaying at its own rate.
Signal clang(float seconds, float base, float decay) {
    const float ratios[] = {1.0f, 2.76f, 5.40f, 8.93f, 13.34f};
    Signal s = silence(seconds);
    for (size_t k = 0; k < 5; ++k) {
        for (size_t i = 0; i < s.size(); ++i) {
            const float t = timeOf(i);
            s[i] += std::sin(2 * kPi * base * ratios[k] * t) *
                    std::exp(-t * (1.0f + static_cast<float>(k)) / decay) /
                    (1.0f + static_cast<float>(k));
        }
    }
    return s;
}

Signal railShot() {
    Signal s = silence(1.4f);
    Signal zap = glide(1.4f, 2400, 90);
    envelope(zap, 0.005f, 0.35f);
    mixInto(s, zap, 0.7f);
    Signal crack = noise(1.4f, 11);
    lowPass(crack, 9000, 600);
    envelope(crack, 0.001f, 0.08f);
    mixInto(s, crack, 0.9f);
    Signal hum = glide(1.4f, 180, 60);
    for (size_t i = 0; i < hum.size(); ++i)
        hum[i] *= 0.5f + 0.5f * std::sin(2 * kPi * 23 * timeOf(i));
    envelope(hum, 0.02f, 0.5f);
    mixInto(s, hum, 0.5f);
    mixInto(s, clang(1.4f, 520, 0.6f), 0.25f);
    fadeEdges(s, 0.003f);
    normalise(s, 0.9f);
    return s;
}

Signal machineGunShot() {
    Signal s = silence(0.14f);
    Signal bang = noise(0.14f, 21);
    lowPass(bang, 6000, 900);
    envelope(bang, 0.0005f, 0.025f);
    mixInto(s, bang, 1.0f);
    Signal thump = glide(0.14f, 160, 55);
    envelope(thump, 0.001f, 0.04f);
    mixInto(s, thump, 0.8f);
    Signal brass = clang(0.12f, 1900, 0.05f);
    mixInto(s, brass, 0.15f, static_cast<size_t>(0.02f * kSampleRate));
    fadeEdges(s, 0.002f);
    normalise(s, 0.85f);
    return s;
}

Signal emptyClick() {
    Signal s = silence(0.18f);
    for (int k = 0; k < 2; ++k) {
        Signal click = noise(0.03f, 31 + static_cast<uint64_t>(k));
        highPass(click, 2500);
        envelope(click, 0.0002f, 0.004f);
        mixInto(s, click, k == 0 ? 1.0f : 0.6f,
                static_cast<size_t>((0.01f + 0.07f * static_cast<float>(k)) * kSampleRate));
    }
    mixInto(s, clang(0.18f, 3100, 0.02f), 0.2f);
    fadeEdges(s, 0.002f);
    normalise(s, 0.7f);
    return s;
}

// A bright rising arpeggio with a soft bell tone per note.
Signal healthChime() {
    const float notes[] = {523.25f, 659.25f, 783.99f, 1046.5f};
    Signal s = silence(0.9f);
    for (int k = 0; k < 4; ++k) {
        Signal note = silence(0.6f);
        for (size_t i = 0; i < note.size(); ++i) {
            const float t = timeOf(i);
            note[i] = std::sin(2 * kPi * notes[k] * t) + 0.3f * std::sin(4 * kPi * notes[k] * t) +
                      0.1f * std::sin(6 * kPi * notes[k] * t);
        }
        envelope(note, 0.01f, 0.18f);
        mixInto(s, note, 1.0f, static_cast<size_t>(0.07f * static_cast<float>(k) * kSampleRate));
    }
    fadeEdges(s, 0.004f);
    normalise(s, 0.75f);
    return s;
}

// A metallic sweep with a shimmer: a shield snapping into place.
Signal armorShimmer() {
    Signal s = silence(0.9f);
    Signal sweep = glide(0.9f, 300, 1400);
    for (size_t i = 0; i < sweep.size(); ++i)
        sweep[i] *= 0.6f + 0.4f * std::sin(2 * kPi * 31 * timeOf(i));
    envelope(sweep, 0.05f, 0.25f);
    mixInto(s, sweep, 0.6f);
    mixInto(s, clang(0.9f, 740, 0.35f), 0.6f, static_cast<size_t>(0.05f * kSampleRate));
    Signal air = noise(0.9f, 41);
    lowPass(air, 2000, 7000);
    highPass(air, 1500);
    envelope(air, 0.12f, 0.15f);
    mixInto(s, air, 0.3f);
    fadeEdges(s, 0.004f);
    normalise(s, 0.75f);
    return s;
}

// Two mechanical clacks and a thunk: a magazine going home.
Signal ammoClack() {
    Signal s = silence(0.45f);
    const float at[] = {0.0f, 0.12f, 0.24f};
    for (int k = 0; k < 3; ++k) {
        Signal hit = noise(0.1f, 51 + static_cast<uint64_t>(k));
        lowPass(hit, k == 2 ? 1500.0f : 5000.0f, 800);
        envelope(hit, 0.0005f, k == 2 ? 0.03f : 0.012f);
        mixInto(s, hit, 1.0f, static_cast<size_t>(at[k] * kSampleRate));
        mixInto(s, clang(0.1f, k == 2 ? 300.0f : 1200.0f, 0.04f), 0.3f,
                static_cast<size_t>(at[k] * kSampleRate));
    }
    fadeEdges(s, 0.003f);
    normalise(s, 0.8f);
    return s;
}

Signal explosion() {
    Signal s = silence(2.4f);
    Signal blast = noise(2.4f, 61);
    lowPass(blast, 3000, 120);
    lowPass(blast, 2500, 150);
    envelope(blast, 0.004f, 0.6f);
    mixInto(s, blast, 1.0f);
    Signal boom = glide(2.4f, 70, 28);
    envelope(boom, 0.005f, 0.45f);
    mixInto(s, boom, 0.9f);
    Signal debris = noise(2.4f, 62);
    highPass(debris, 1200);
    Random random(63);
    for (size_t i = 0; i < debris.size(); ++i) {
        const float t = timeOf(i);
        debris[i] *= (random.uniform() < 0.002f ? 1.0f : 0.05f) * std::exp(-t / 0.7f);
    }
    mixInto(s, debris, 0.5f, static_cast<size_t>(0.1f * kSampleRate));
    fadeEdges(s, 0.003f);
    normalise(s, 0.95f);
    return s;
}

Signal hitImpact() {
    Signal s = silence(0.5f);
    Signal thud = noise(0.5f, 71);
    lowPass(thud, 4000, 400);
    envelope(thud, 0.0005f, 0.03f);
    mixInto(s, thud, 1.0f);
    mixInto(s, clang(0.5f, 410, 0.18f), 0.7f);
    fadeEdges(s, 0.003f);
    normalise(s, 0.85f);
    return s;
}

// An engine at `firing` pulses per second, exactly periodic over one second: every
// component has a whole number of cycles in it, so the loop joins without a click.
Signal engineLoop(int firing, uint64_t seed) {
    Signal s = silence(1.0f);
    Random random(seed);
    const float f = static_cast<float>(firing);
    for (int k = 1; k <= 24; ++k) {
        const float freq = f * static_cast<float>(k);
        if (freq > 4000) break;
        // A resonance around 300-500 Hz gives the exhaust its body.
        const float formant = 1.0f / (1.0f + std::pow((freq - 380.0f) / 260.0f, 2.0f));
        const float amp = (1.0f / static_cast<float>(k) + 0.8f * formant);
        const float phase = random.range(0, 2 * kPi);
        for (size_t i = 0; i < s.size(); ++i)
            s[i] += amp * std::sin(2 * kPi * freq * timeOf(i) + phase);
    }
    // Uneven combustion: a rumble of whole-hertz partials below the firing rate.
    for (int hz = 8; hz < firing; hz += 3) {
        const float amp = 0.08f * random.uniform();
        const float phase = random.range(0, 2 * kPi);
        for (size_t i = 0; i < s.size(); ++i)
            s[i] += amp * std::sin(2 * kPi * static_cast<float>(hz) * timeOf(i) + phase);
    }
    // Half-rate throb of a four-stroke.
    for (size_t i = 0; i < s.size(); ++i)
        s[i] *= 0.85f + 0.15f * std::sin(2 * kPi * (f / 2) * timeOf(i));
    normalise(s, 0.6f);
    return s;
}

// The menu's "brumm": an engine blipped once.
Signal engineBlip() {
    Signal s = silence(0.9f);
    float phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = timeOf(i);
        const float rpm = 60 + 110 * std::exp(-std::pow((t - 0.25f) / 0.16f, 2.0f));
        phase += 2 * kPi * rpm / static_cast<float>(kSampleRate);
        float v = 0;
        for (int k = 1; k <= 12; ++k)
            v += std::sin(phase * static_cast<float>(k)) / static_cast<float>(k);
        s[i] = v * (0.8f + 0.2f * std::sin(phase * 0.5f));
    }
    lowPass(s, 2500, 1200);
    envelope(s, 0.03f, 0.35f);
    fadeEdges(s, 0.01f);
    normalise(s, 0.8f);
    return s;
}

}  // namespace

void writeSounds(Output& out) {
    auto wav = [&](const std::string& path, const Signal& s) { out.write(path, encodeWav(s)); };
    wav("sound/Weapon/Rail/rail.wav", railShot());
    wav("sound/Weapon/Minigun/minigun.wav", machineGunShot());
    wav("sound/Weapon/noammo.wav", emptyClick());
    wav("sound/item/powerup25.wav", healthChime());
    wav("sound/item/amor.wav", armorShimmer());
    wav("sound/item/ammo.wav", ammoClack());
    wav("sound/misc/explode.wav", explosion());
    wav("sound/misc/hit.wav", hitImpact());
    wav("sound/misc/motor_2000.wav", engineLoop(66, 81));
    wav("sound/misc/motor_4000.wav", engineLoop(134, 82));
    wav("sound/misc/motor_6000.wav", engineLoop(200, 83));
    out.write("sound/misc/brumm.mp3", encodeMp3(engineBlip()));
}

}  // namespace datagen
