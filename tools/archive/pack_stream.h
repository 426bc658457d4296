#pragma once
// The compressed stream of one archive: packs entry after entry, keeping the unpacker's
// window, history and tables in step so that solid entries can build on the ones before.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/archive/lz_parser.h"
#include "tools/archive/match_finder.h"
#include "tools/archive/pack_state.h"

class PackStream {
 public:
  // chainDepth bounds the hash-chain walk at each position (speed against ratio).
  explicit PackStream(int chainDepth = 256);
  virtual ~PackStream() = default;

  // Packs one entry. audioChannels 0 packs with LZ, 1..4 with the audio predictor.
  // continuation: the unpacker keeps the state of the entry packed before (a solid entry);
  // otherwise it starts afresh. moreFollow: a later entry may continue this stream, so the
  // final tables keep a code for the table change. False only if the stream is out of step.
  bool packEntry(const std::uint8_t* data, std::size_t size, int audioChannels, bool continuation,
                 bool moreFollow, std::vector<std::uint8_t>& packed);

 private:
  void reset();
  bool writeSwitch(BitWriter& out, const PackState& s) const;
  void packLzWithNewTables(BitWriter& out, PackState& s, std::size_t begin, std::size_t end,
                           bool moreFollow, const MatchFinder::Snapshot& snap);
  bool packLzWithOldTables(BitWriter& out, PackState& s, std::size_t begin, std::size_t end,
                           const MatchFinder::Snapshot& snap);
  void packAudioWithNewTables(BitWriter& out, PackState& s, std::size_t begin, std::size_t end,
                              int channels, bool moreFollow);
  bool packAudioWithOldTables(BitWriter& out, PackState& s, std::size_t begin, std::size_t end,
                              bool moreFollow);
  std::vector<std::size_t> splitBlocks(const std::vector<LzToken>& tokens, std::size_t begin,
                                       std::size_t end) const;

  PackState state_;
  std::vector<std::uint8_t> window_;  // every byte the unpacker has put in its window
  MatchFinder finder_;
};
