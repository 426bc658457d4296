#pragma once

#include <cstddef>
#include <vector>

// A piece of stereo sound at 44100 frames per second, samples nominally -1..1.
struct StereoTrack {
  int rate = 44100;
  std::vector<float> left, right;
  std::size_t frames() const { return left.size(); }
};

// Seconds of the ambient piece: eight chords of twelve seconds.
constexpr int kMusicSeconds = 96;

// Synthesises the show's ambient piece. Everything that sounds across the end (note
// tails, filter and reverb states) is folded back onto the beginning, so the last frame
// runs on into the first without a step: played in a loop, there is no seam.
// Deterministic: fixed seeds, no clock, no threads.
StereoTrack synthesiseMusic();
