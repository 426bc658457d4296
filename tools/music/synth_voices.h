#pragma once

#include <cstdint>

#include "tools/music/loop_buffer.h"

// Instruments of the ambient piece. Each renders into a pair of loop buffers, adding to
// what is there; positions are frame indices and wrap around the loop.

float midiToHz(float note);

struct PadNote {
  double start;   // seconds
  double length;  // seconds until the release begins
  float note;     // MIDI note number
  float level;
  float pan;  // -1 left .. 1 right
  float attack = 3.5f, release = 5.0f;
};
// A warm, slowly swelling chord tone: three detuned oscillators through a low-pass
// filter that opens with the swell.
void renderPad(const PadNote& p, int rate, LoopBuffer& left, LoopBuffer& right);

struct BellNote {
  double start;
  float note;
  float level;
  float pan;
};
// A soft glassy bell: a few slightly inharmonic partials, each decaying at its own rate.
void renderBell(const BellNote& b, int rate, LoopBuffer& left, LoopBuffer& right);

// A low sine drone with its octave, for the chord roots.
void renderDrone(const PadNote& p, int rate, LoopBuffer& left, LoopBuffer& right);

// Breathy air: noise through a slowly wandering band-pass, one independent noise per side.
void renderAir(float level, int rate, uint64_t seed, LoopBuffer& left, LoopBuffer& right);

// A dense stereo hall (feedback delay network) run around the loop; returns only the
// reverberated sound, to be mixed with the dry one.
void renderHall(const LoopBuffer& inLeft, const LoopBuffer& inRight, int rate, LoopBuffer& outLeft,
                LoopBuffer& outRight);
