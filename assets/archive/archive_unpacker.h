#pragma once

#include "assets/archive/audio_channel.h"
#include "assets/archive/bit_input.h"
#include "assets/archive/huffman_decoder.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

class ArchiveSource;

// The RAR 2.0 unpacker: LZ77 over a 1 MiB window with Huffman-coded literals, lengths and
// distances, and an audio mode that codes each byte as the error of a per-channel predictor.
// One object serves one archive read; its state carries over between the entries of a solid
// archive.
//
// The window is allocated once per object and only the part written since the last reset is
// cleared again, so a distance reaching before the start of an entry still reads zeros
// without a 1 MiB clear per entry. Matches are copied 16 or 8 bytes at a time where the
// distance is at least that wide (and byte by byte, as the format defines, where it is not).
class ArchiveUnpacker {
 public:
  static constexpr std::uint32_t windowSize = 1u << 20;
  static constexpr std::uint32_t windowMask = windowSize - 1;

  ArchiveUnpacker();
  virtual ~ArchiveUnpacker();

  ArchiveUnpacker(const ArchiveUnpacker&) = delete;
  ArchiveUnpacker& operator=(const ArchiveUnpacker&) = delete;

  // Allocates the window; false when memory is short.
  bool allocate();

  // Unpacks one entry whose packed bytes the source holds from its current position.
  // With continuation set the tables, window and history of the previous entry are kept.
  // Output (when not null) receives at most unpSize bytes; `produced` counts them.
  // Returns false when the packed bytes ran out before the entry was complete or the entry
  // decoded to more than unpSize bytes; the output is then unusable.
  bool unpackEntry(ArchiveSource& source, std::uint32_t packSize, std::uint32_t unpSize,
                   bool continuation, std::uint8_t* output, std::uint32_t& produced);

 private:
  void reset();
  void readTables();
  void flush();
  void advanceWrite();
  // Decode symbols until the main loop has something to do (refill, flush, the end of the
  // entry or of the input) or a table read has changed the mode. The read point and the
  // window position live in locals meanwhile: window stores could otherwise alias them.
  void runLz();
  void runAudio();
  struct Run {
    std::uint32_t position = 0;      // read point at the start
    std::int64_t positionLimit = 0;  // the read point must stay below this
    std::uint32_t start = 0;         // unpack position at the start
    std::uint32_t stop = 0;          // the unpack position must stay below this
  };
  Run startRun() const;
  void endRun(const Run& run, std::uint32_t position, std::uint32_t unpack);

  struct FreeWindow {
    void operator()(std::uint8_t* p) const { std::free(p); }
  };
  std::unique_ptr<std::uint8_t[], FreeWindow> window_;
  std::uint32_t unpackPosition_ = 0;
  std::uint32_t writePosition_ = 0;
  std::uint32_t dirty_ = 0;  // window bytes from 0 on that may no longer be zero

  BitInput input_;

  // Per entry.
  std::int64_t remaining_ = 0;
  std::uint8_t* output_ = nullptr;
  std::uint32_t outputSize_ = 0;
  std::uint32_t produced_ = 0;
  bool failed_ = false;

  // Carried over in a solid archive.
  bool audio_ = false;
  int channels_ = 1;
  int currentChannel_ = 0;
  int channelDelta_ = 0;
  AudioChannel audioChannels_[4];
  std::uint32_t oldDistances_[4] = {};
  std::uint32_t oldDistanceIndex_ = 0;
  std::uint32_t lastDistance_ = 0;
  std::uint32_t lastLength_ = 0;
  std::uint8_t previousLengths_[1028] = {};

  HuffmanDecoder literalDecoder_;    // 298 literal/length symbols
  HuffmanDecoder distanceDecoder_;   // 48
  HuffmanDecoder repeatDecoder_;     // 28 lengths of repeated matches
  HuffmanDecoder audioDecoders_[4];  // 257 each
  HuffmanDecoder tableDecoder_;      // 19 symbols of the code-length table
};
