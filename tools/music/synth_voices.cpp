#include "tools/music/synth_voices.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "tools/common/art_random.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kTableBits = 12;
constexpr int kTableSize = 1 << kTableBits;

// Oscillator phase as a 32-bit fraction of a cycle: it wraps by itself and indexes the
// table without a division.
using Phase = uint32_t;
Phase phaseStep(double hz, int rate) { return Phase(std::llround(hz / rate * 4294967296.0)); }
Phase phaseOf(double cycles) {
  return Phase(std::llround((cycles - std::floor(cycles)) * 4294967296.0));
}

// One cycle of a waveform, sampled with linear interpolation.
class WaveTable {
 public:
  explicit WaveTable(const std::vector<float>& partialAmps) : table(kTableSize + 1) {
    for (int i = 0; i <= kTableSize; ++i) {
      double sum = 0;
      for (size_t k = 0; k < partialAmps.size(); ++k)
        sum += partialAmps[k] * std::sin(kTwoPi * double(k + 1) * i / kTableSize);
      table[i] = float(sum);
    }
    float peak = 0;
    for (float v : table) peak = std::max(peak, std::fabs(v));
    if (peak > 0)
      for (float& v : table) v /= peak;
  }
  virtual ~WaveTable() = default;
  // Forced inline: this runs for every oscillator on every frame, and instrumented
  // builds would otherwise make it a call.
  [[gnu::always_inline]] float at(Phase phase) const {
    const float* t = table.data();
    uint32_t i = phase >> (32 - kTableBits);
    float f = float(phase & ((1u << (32 - kTableBits)) - 1)) * (1.0f / (1u << (32 - kTableBits)));
    return t[i] + (t[i + 1] - t[i]) * f;
  }

 private:
  std::vector<float> table;
};

const WaveTable& sine() {
  static const WaveTable t({1.0f});
  return t;
}

// Soft, string-like spectrum: all harmonics, falling off steadily, a little hollow.
const WaveTable& warm() {
  static const WaveTable t([] {
    std::vector<float> a;
    for (int k = 1; k <= 24; ++k) a.push_back(float((k % 2 ? 1.0 : 0.6) / std::pow(k, 1.5)));
    return a;
  }());
  return t;
}

// Raised-cosine fade, 0 at x <= 0, 1 at x >= 1: no corners, so no clicks.
float fadeCurve(double x) {
  if (x <= 0) return 0;
  if (x >= 1) return 1;
  return float(0.5 - 0.5 * std::cos(x * kTwoPi * 0.5));
}

void panGains(float pan, float& gl, float& gr) {
  double a = (std::clamp(pan, -1.0f, 1.0f) + 1) * 0.25 * 3.141592653589793;
  gl = float(std::cos(a));
  gr = float(std::sin(a));
}

}  // namespace

float midiToHz(float note) { return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f); }

void renderPad(const PadNote& p, int rate, LoopBuffer& left, LoopBuffer& right) {
  const double hz = midiToHz(p.note);
  const double detune[3] = {-0.0045, 0.0, 0.0052};  // about -8, 0 and +9 cents
  const float spread[3] = {-0.55f, 0.0f, 0.55f};
  float gl[3], gr[3];
  for (int k = 0; k < 3; ++k) panGains(std::clamp(p.pan + spread[k], -1.0f, 1.0f), gl[k], gr[k]);
  Phase phase[3], step[3] = {};  // fixed, note-dependent starting points
  for (int k = 0; k < 3; ++k) phase[k] = phaseOf((0.13 + 0.29 * k) * p.note);
  const double total = p.length + p.release;
  const size_t start = size_t(std::llround(p.start * rate));
  const size_t frames = size_t(total * rate);
  float lpL1 = 0, lpL2 = 0, lpR1 = 0, lpR2 = 0;
  float a = 0, g = 0;
  const WaveTable& wave = warm();
  size_t at = left.wrap(start);
  for (size_t n = 0; n < frames; ++n, at = left.next(at)) {
    // Envelope, vibrato, breathing and filter corner change slowly: update them at a
    // control rate of one in 32 frames.
    if (n % 32 == 0) {
      double t = double(n) / rate;
      float env = fadeCurve(t / p.attack) * (1 - fadeCurve((t - p.length) / p.release));
      double wobble = 1 + 0.0012 * std::sin(kTwoPi * 0.21 * t + p.note);
      for (int k = 0; k < 3; ++k) step[k] = phaseStep(hz * (1 + detune[k]) * wobble, rate);
      float breath = 0.85f + 0.15f * float(std::sin(kTwoPi * 0.07 * t + 0.5 * p.note));
      float cutoff = 250.0f + 1400.0f * env;  // the filter opens with the swell
      a = 1.0f - std::exp(float(-kTwoPi * cutoff / rate));
      g = p.level * env * breath / 3.0f;
    }
    float l = 0, r = 0;
    for (int k = 0; k < 3; ++k) {
      float s = wave.at(phase[k]);
      phase[k] += step[k];
      l += s * gl[k];
      r += s * gr[k];
    }
    // Two one-pole low-passes per side.
    lpL1 += a * (l - lpL1);
    lpL2 += a * (lpL1 - lpL2);
    lpR1 += a * (r - lpR1);
    lpR2 += a * (lpR1 - lpR2);
    left[at] += g * lpL2;
    right[at] += g * lpR2;
  }
}

void renderBell(const BellNote& b, int rate, LoopBuffer& left, LoopBuffer& right) {
  struct Partial {
    float ratio, amp, decay;
  };
  static const Partial partials[] = {{1.0f, 1.0f, 4.0f},
                                     {2.001f, 0.42f, 2.4f},
                                     {3.007f, 0.2f, 1.4f},
                                     {4.17f, 0.1f, 0.9f},
                                     {5.43f, 0.06f, 0.55f}};
  const double hz = midiToHz(b.note);
  float gl, gr;
  panGains(b.pan, gl, gr);
  const size_t start = size_t(std::llround(b.start * rate));
  const size_t frames = size_t(9.0 * rate);
  const double attack = 0.006;
  for (const Partial& p : partials) {
    double f = hz * p.ratio;
    if (f > rate * 0.45) continue;
    const Phase step = phaseStep(f, rate);
    Phase phase = 0;
    float decayPerFrame = std::exp(-1.0f / (p.decay * rate));
    float amp = b.level * p.amp;
    const WaveTable& wave = sine();
    size_t at = left.wrap(start);
    for (size_t n = 0; n < frames && amp > 1e-5f; ++n, at = left.next(at)) {
      double t = double(n) / rate;
      float s = wave.at(phase) * amp;
      if (t < attack) s *= fadeCurve(t / attack);
      // The last half second fades to nothing instead of being cut off.
      if (t > 8.5) s *= 1 - fadeCurve((t - 8.5) / 0.5);
      left[at] += s * gl;
      right[at] += s * gr;
      phase += step;
      amp *= decayPerFrame;
    }
  }
}

void renderDrone(const PadNote& p, int rate, LoopBuffer& left, LoopBuffer& right) {
  const double hz = midiToHz(p.note);
  const size_t start = size_t(std::llround(p.start * rate));
  const size_t frames = size_t((p.length + p.release) * rate);
  Phase phase = 0, phase2 = phaseOf(0.25);
  const Phase step = phaseStep(hz, rate), step2 = phaseStep(2.003 * hz, rate);
  const WaveTable& wave = sine();
  size_t at = left.wrap(start);
  for (size_t n = 0; n < frames; ++n, at = left.next(at)) {
    double t = double(n) / rate;
    float env = fadeCurve(t / p.attack) * (1 - fadeCurve((t - p.length) / p.release));
    float s = p.level * env * (wave.at(phase) + 0.3f * wave.at(phase2));
    phase += step;
    phase2 += step2;
    left[at] += s;
    right[at] += s;
  }
}

void renderAir(float level, int rate, uint64_t seed, LoopBuffer& left, LoopBuffer& right) {
  const size_t n = left.size();
  const double loopSeconds = double(n) / rate;
  for (int side = 0; side < 2; ++side) {
    ArtRandom rng(seed + uint64_t(side) * 977);
    LoopBuffer noise(n);
    for (size_t i = 0; i < n; ++i) noise[i] = float(rng.unit() * 2 - 1);
    // State-variable band-pass; its centre wanders with a period that divides the loop.
    float low = 0, band = 0, f = 0, swell = 0;
    processAround(noise, size_t(rate), [&](float x, size_t i) {
      if (i % 64 == 0) {
        double t = double(i) / rate;
        double sweep = 0.5 + 0.5 * std::sin(kTwoPi * 3 * t / loopSeconds + side * 1.3);
        float centre = float(350 + 1500 * sweep);
        f = 2 * std::sin(float(3.141592653589793 * centre / rate));
        swell = float(0.6 + 0.4 * std::sin(kTwoPi * 2 * t / loopSeconds + 0.7));
      }
      const float q = 0.35f;
      low += f * band;
      float high = x - low - q * band;
      band += f * high;
      return band * swell;
    });
    LoopBuffer& out = side ? right : left;
    for (size_t i = 0; i < n; ++i) out[i] += level * noise[i];
  }
}

void renderHall(const LoopBuffer& inLeft, const LoopBuffer& inRight, int rate, LoopBuffer& outLeft,
                LoopBuffer& outRight) {
  // Mutually prime line lengths (at 44.1 kHz) keep the echoes from lining up.
  static const int baseLengths[8] = {1433, 1601, 1867, 2053, 2251, 2399, 2617, 2879};
  const float rt60 = 5.5f;  // seconds for the tail to fall by 60 dB
  std::array<std::vector<float>, 8> lines;
  std::array<size_t, 8> pos{};
  std::array<float, 8> gain{}, damp{};
  for (int k = 0; k < 8; ++k) {
    int len = std::max(16, int(baseLengths[k] * (rate / 44100.0)));
    lines[k].assign(size_t(len), 0.0f);
    gain[k] = std::pow(10.0f, -3.0f * float(len) / (rt60 * rate));
  }
  const size_t n = inLeft.size();
  // A first lap over the loop's last seconds leaves the tail that runs on into the start;
  // twice the decay time brings anything older down by 120 dB.
  const size_t warm = std::min(n, size_t(2 * rt60 * rate));
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t i = pass ? 0 : n - warm; i < n; ++i) {
      float out[8];
      for (int k = 0; k < 8; ++k) out[k] = lines[k][pos[k]];
      // Fast 8-point Hadamard mix, scaled to stay lossless.
      float h[8];
      for (int k = 0; k < 8; ++k) h[k] = out[k];
      for (int span = 1; span < 8; span *= 2)
        for (int k = 0; k < 8; k += 2 * span)
          for (int j = k; j < k + span; ++j) {
            float a = h[j], b = h[j + span];
            h[j] = a + b;
            h[j + span] = a - b;
          }
      const float inL = inLeft[i], inR = inRight[i];
      for (int k = 0; k < 8; ++k) {
        float fb = h[k] * 0.35355339f * gain[k];
        // High frequencies die sooner, as in a real room.
        damp[k] += 0.45f * (fb - damp[k]);
        float in = (k % 2 ? inR : inL) * 0.5f;
        lines[k][pos[k]] = damp[k] + in;
        if (++pos[k] == lines[k].size()) pos[k] = 0;
      }
      if (pass == 1) {
        outLeft[i] = 0.5f * (out[0] + out[2] + out[4] + out[6]);
        outRight[i] = 0.5f * (out[1] + out[3] + out[5] + out[7]);
      }
    }
  }
}
