#pragma once
// Sound for the audio tests: a short Ogg Vorbis piece, its samples as a decoder of our own
// choosing gives them, and what SDL's disk driver wrote.
#include <vorbis/vorbisfile.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tools/music/vorbis_writer.h"

// Loud from its first sample and never the same twice within itself: a sweep on the left, a
// tone on the right.
inline std::vector<std::uint8_t> testPiece(double seconds = 0.5, int rate = 44100) {
  StereoTrack track;
  track.rate = rate;
  for (int i = 0; i < seconds * rate; ++i) {
    const double t = double(i) / rate;
    track.left.push_back(float(0.8 * std::cos(2 * M_PI * (300 * t + 400 * t * t))));
    track.right.push_back(float(0.6 * std::cos(2 * M_PI * 523 * t)));
  }
  std::string error;
  const std::vector<unsigned char> bytes = encodeVorbis(track, 0.4f, error);
  return {bytes.begin(), bytes.end()};
}

// Interleaved 16-bit samples, decoded from a file by libvorbisfile's own reader.
inline std::vector<std::int16_t> decodePcm(const std::vector<std::uint8_t>& ogg,
                                           const TempDir& scratch) {
  std::string file = scratch.write("decode.ogg", ogg);
  std::vector<std::int16_t> pcm;
  OggVorbis_File vf;
  if (ov_fopen(file.c_str(), &vf) != 0) return pcm;
  char buffer[4096];
  int link = 0;
  for (long got; (got = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &link)) > 0;)
    pcm.insert(pcm.end(), reinterpret_cast<std::int16_t*>(buffer),
               reinterpret_cast<std::int16_t*>(buffer + got));
  ov_clear(&vf);
  return pcm;
}

inline std::uintmax_t fileSize(const std::string& file) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  return error ? 0 : size;
}

// Waits until the output file has grown by `bytes` since the call; false after 30 s.
inline bool outputGrows(const std::string& file, std::uintmax_t bytes) {
  const std::uintmax_t target = fileSize(file) + bytes;
  for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
       std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(std::chrono::milliseconds(5)))
    if (fileSize(file) >= target) return true;
  return false;
}

// SDL writes the output to `file` as raw interleaved samples, as fast as it can.
inline void writeOutputTo(const std::string& file) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "0", 1);
}

inline std::vector<std::int16_t> samplesOf(const std::string& file) {
  const std::string bytes = readFile(file);
  std::vector<std::int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}
