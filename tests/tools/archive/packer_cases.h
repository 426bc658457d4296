#pragma once
// Inputs that exercise every part of the packer: sizes around the match length limits, long
// runs, incompressible bytes, text, float meshes, data beyond the 1 MiB window, matches at
// the distances where lengths change, and audio-like signals of 1 to 4 channels.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/archive/archive_writer.h"

// The full set (about 4.5 MB of input).
std::vector<PackEntry> packerCases();

// A few small entries of every kind, for quick archives.
std::vector<PackEntry> smallPackerCases();

// Sixty small entries for one solid stream: text, noise, empty and audio entries mixed, so
// that each continues the stream while switching tables, or between LZ and audio.
std::vector<PackEntry> manySmallPackerCases();

// Deterministic pseudo-random bytes.
std::vector<std::uint8_t> noiseBytes(std::size_t size, std::uint32_t seed);

// English-like text of the given size (the GPL-3 text when the system has it).
std::vector<std::uint8_t> textBytes(std::size_t size);

// An interleaved signal of `channels` byte channels, 8-bit samples, or 16-bit little-endian
// samples split over two byte channels each when `wide` is set.
std::vector<std::uint8_t> signalBytes(std::size_t frames, int channels, bool wide,
                                      std::uint32_t seed);
