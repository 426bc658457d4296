// The ambient piece: eight slow chords in D minor, a low drone on their roots, glassy
// bell phrases drawn from the chords, breathy air, all in a large hall.
#include "tools/music/music_synth.h"

#include <algorithm>
#include <cmath>

#include "tools/common/art_random.h"
#include "tools/music/synth_voices.h"

namespace {

constexpr int kRate = 44100;
constexpr double kChordSeconds = kMusicSeconds / 8.0;

struct Chord {
  int root;      // drone note
  int tones[5];  // pad voicing
};

const Chord kChords[8] = {
    {38, {50, 57, 60, 64, 65}},  // Dm9
    {34, {53, 58, 62, 65, 69}},  // Bbmaj7
    {41, {53, 57, 60, 64, 67}},  // Fmaj9
    {36, {48, 55, 62, 64, 69}},  // C6/9
    {38, {50, 57, 62, 65, 67}},  // Dm11
    {43, {55, 58, 62, 65, 69}},  // Gm9
    {34, {53, 57, 60, 62, 64}},  // Bbmaj9#11
    {33, {52, 57, 62, 64, 67}},  // A7sus4, leading home
};

// D minor pentatonic over the bells' register.
const int kScale[] = {62, 65, 67, 69, 72, 74, 77, 79, 81, 84, 86, 89};
constexpr int kScaleSize = int(sizeof kScale / sizeof kScale[0]);

int nearestScaleStep(int note) {
  int best = 0;
  for (int i = 1; i < kScaleSize; ++i)
    if (std::abs(kScale[i] - note) < std::abs(kScale[best] - note)) best = i;
  return best;
}

void scorePads(LoopBuffer& left, LoopBuffer& right) {
  for (int c = 0; c < 8; ++c) {
    const Chord& chord = kChords[c];
    // Each chord swells in a little before its slot and fades over the next one.
    double start = c * kChordSeconds - 1.5;
    if (start < 0) start += kMusicSeconds;
    for (int k = 0; k < 5; ++k) {
      float pan = -0.6f + 0.3f * k;
      // The top voices enter a moment later, like players breathing in turn.
      PadNote p{start + 0.4 * k, kChordSeconds + 0.5, float(chord.tones[k]), 0.16f - 0.012f * k,
                pan};
      renderPad(p, kRate, left, right);
    }
    PadNote drone{start, kChordSeconds + 1.0, float(chord.root), 0.10f, 0.0f, 4.0f, 5.0f};
    renderDrone(drone, kRate, left, right);
  }
}

void scoreBells(LoopBuffer& left, LoopBuffer& right) {
  ArtRandom rng(0xB311);
  double t = 2.0;
  // Stop early enough that the last phrase does not crowd the first one after the wrap.
  while (t < kMusicSeconds - 2.0) {
    int slot = std::min(7, int(t / kChordSeconds));
    const Chord& chord = kChords[slot];
    int step = nearestScaleStep(chord.tones[1 + rng.below(4)] + 24);
    int notes = 2 + rng.below(4);
    float pan = float(rng.range(-0.6, 0.6));
    float level = float(rng.range(0.07, 0.11));
    for (int i = 0; i < notes; ++i) {
      renderBell({t, float(kScale[step]), level, pan}, kRate, left, right);
      // A quiet answer an octave down now and then.
      if (rng.unit() < 0.25)
        renderBell({t + 0.02, float(kScale[step] - 12), level * 0.45f, -pan}, kRate, left, right);
      t += rng.range(0.45, 0.95);
      step = std::clamp(step + (rng.unit() < 0.5 ? -1 : 1) * (1 + rng.below(2)), 0, kScaleSize - 1);
      level *= 0.85f;
      pan = std::clamp(pan + float(rng.range(-0.25, 0.25)), -0.8f, 0.8f);
    }
    t += rng.range(2.5, 6.0);
  }
}

}  // namespace

StereoTrack synthesiseMusic() {
  const size_t frames = size_t(kMusicSeconds) * kRate;
  LoopBuffer dryL(frames), dryR(frames);
  scorePads(dryL, dryR);
  scoreBells(dryL, dryR);
  renderAir(0.045f, kRate, 0xA1F, dryL, dryR);

  LoopBuffer wetL(frames), wetR(frames);
  renderHall(dryL, dryR, kRate, wetL, wetR);

  StereoTrack track;
  track.rate = kRate;
  track.left.resize(frames);
  track.right.resize(frames);
  for (size_t i = 0; i < frames; ++i) {
    track.left[i] = 0.7f * dryL[i] + 0.55f * wetL[i];
    track.right[i] = 0.7f * dryR[i] + 0.55f * wetR[i];
  }
  // The first play starts from silence: begin the loop where both sides are nearest zero
  // within its first two seconds, so that start has no click either. Turning a loop
  // keeps it seamless.
  size_t begin = 0;
  for (size_t i = 1; i < size_t(2 * kRate); ++i)
    if (std::fabs(track.left[i]) + std::fabs(track.right[i]) <
        std::fabs(track.left[begin]) + std::fabs(track.right[begin]))
      begin = i;
  std::rotate(track.left.begin(), track.left.begin() + long(begin), track.left.end());
  std::rotate(track.right.begin(), track.right.begin() + long(begin), track.right.end());
  // No offset: remove each side's mean exactly. Then bring the peak to about -2 dBFS,
  // leaving the encoder's ripple room below full scale.
  for (std::vector<float>* side : {&track.left, &track.right}) {
    double sum = 0;
    for (float v : *side) sum += v;
    float mean = float(sum / double(frames));
    for (float& v : *side) v -= mean;
  }
  float peak = 0;
  for (size_t i = 0; i < frames; ++i)
    peak = std::max({peak, std::fabs(track.left[i]), std::fabs(track.right[i])});
  if (peak > 0) {
    float g = 0.79f / peak;
    for (size_t i = 0; i < frames; ++i) {
      track.left[i] *= g;
      track.right[i] *= g;
    }
  }
  return track;
}
