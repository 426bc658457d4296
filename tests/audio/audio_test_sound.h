#pragma once
// Sound for the audio tests: a short Ogg Vorbis piece, and what SDL's disk driver wrote.
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <thread>

#include "tests/support/temp_dir.h"
#include "tools/music/vorbis_writer.h"

// Loud from its first sample and never the same twice within itself.
inline std::vector<std::uint8_t> testPiece(double seconds = 0.5, int rate = 44100) {
  StereoTrack track;
  track.rate = rate;
  for (double t = 0; t < seconds; t += 1.0 / rate) {
    track.left.push_back(float(0.8 * std::cos(2 * M_PI * (300 * t + 400 * t * t))));
    track.right.push_back(float(0.6 * std::cos(2 * M_PI * 523 * t)));
  }
  std::string error;
  const std::vector<unsigned char> bytes = encodeVorbis(track, 0.4f, error);
  return {bytes.begin(), bytes.end()};
}

// SDL writes the output to `file` as raw interleaved samples, as fast as it can.
inline void writeOutputTo(const std::string& file) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "0", 1);
}

// Waits until the file has grown by `bytes` since the call; false after 30 s.
inline bool outputGrows(const std::string& file, std::uintmax_t bytes) {
  std::error_code error;
  const std::uintmax_t target = std::filesystem::file_size(file, error) * !error + bytes;
  for (int wait = 0; wait < 6000; ++wait, std::this_thread::sleep_for(std::chrono::milliseconds(5)))
    if (std::filesystem::file_size(file, error) >= target && !error) return true;
  return false;
}

inline std::vector<std::int16_t> samplesOf(const std::string& file) {
  const std::string bytes = readFile(file);
  std::vector<std::int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}
