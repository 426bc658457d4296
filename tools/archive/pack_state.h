#pragma once
// The unpacker's state as the packer tracks it: everything that carries from symbol to
// symbol and, in a solid archive, from entry to entry. The packer must predict it exactly.
#include <cstdint>
#include <vector>

#include "assets/archive/audio_channel.h"
#include "tools/archive/table_writer.h"

struct LzHistory {
  std::uint32_t oldDist[4] = {0, 0, 0, 0};
  std::uint32_t oldIndex = 0;
  std::uint32_t lastDist = 0;
  std::uint32_t lastLength = 0;

  void pushMatch(std::uint32_t distance, std::uint32_t length) {
    oldDist[oldIndex & 3] = distance;
    ++oldIndex;
    lastDist = distance;
    lastLength = length;
  }
  // Distance of old-distance symbol 257 + k (k = 0 is the newest).
  std::uint32_t old(int k) const { return oldDist[(oldIndex - 1 - std::uint32_t(k)) & 3]; }
};

struct AudioState {
  AudioChannel channel[4];  // the unpacker's own predictor
  int currentChannel = 0;
  int channelDelta = 0;
};

struct PackState {
  LzHistory lz;
  AudioState audio;
  bool tablesRead = false;  // false until the first table read of the archive stream
  bool audioMode = false;
  int channels = 1;
  std::vector<std::uint8_t> lengths;  // the current table: 374, or 257 per channel
  TableHistory history;
};
