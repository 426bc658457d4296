#include "tools/archive/pack_stream.h"

#include <algorithm>
#include <bit>

#include "tools/archive/huffman_lengths.h"
#include "tools/archive/lz_parser.h"

namespace {

// One symbol of the audio mode: the prediction error that turns the prediction into `byte`,
// with the channel and the shared delta advanced by the unpacker's own predictor.
int encodeAudioByte(AudioState& state, int channels, std::uint8_t byte) {
  AudioChannel& channel = state.channel[state.currentChannel];
  const int predicted = channel.predict(state.channelDelta);
  const int symbol = (predicted - int(byte)) & 0xFF;
  channel.update(symbol, predicted - symbol, state.channelDelta);
  if (++state.currentChannel == channels) state.currentChannel = 0;
  return symbol;
}

// Input bytes per unit of the search for points where a new table pays off.
constexpr std::size_t kBlockChunk = 16 * 1024;
// What a symbol missing from the guide table is assumed to cost while parsing.
constexpr std::int32_t kAbsentGuess = 16 * 16;
// Above this size an entry's own tables practically always beat inherited ones.
constexpr std::size_t kKeepTablesLimit = 256 * 1024;

struct LzCounts {
  std::vector<std::uint32_t> main = std::vector<std::uint32_t>(kMainSymbols, 0);
  std::vector<std::uint32_t> dist = std::vector<std::uint32_t>(kDistSymbols, 0);
  std::vector<std::uint32_t> rep = std::vector<std::uint32_t>(kRepSymbols, 0);

  void add(const LzToken& t) {
    ++main[t.main];
    if (t.sub >= 0) ++(t.main >= kSymLong ? dist : rep)[t.sub];
  }
  void add(const LzCounts& o) {
    for (int i = 0; i < kMainSymbols; ++i) main[i] += o.main[i];
    for (int i = 0; i < kDistSymbols; ++i) dist[i] += o.dist[i];
    for (int i = 0; i < kRepSymbols; ++i) rep[i] += o.rep[i];
  }
  std::vector<std::uint8_t> lengths() const {
    std::vector<std::uint8_t> out = limitedCodeLengths(main, kMaxCodeLength);
    std::vector<std::uint8_t> d = limitedCodeLengths(dist, kMaxCodeLength);
    std::vector<std::uint8_t> r = limitedCodeLengths(rep, kMaxCodeLength);
    out.insert(out.end(), d.begin(), d.end());
    out.insert(out.end(), r.begin(), r.end());
    return out;
  }
};

// Bits to code these counts with their own table, the table included.
std::uint64_t blockBits(const LzCounts& c) {
  std::vector<std::uint8_t> len = c.lengths();
  std::uint64_t bits = tableBits(false, 1, len, TableHistory{});
  for (int i = 0; i < kMainSymbols; ++i) bits += std::uint64_t(c.main[i]) * len[i];
  for (int i = 0; i < kDistSymbols; ++i) bits += std::uint64_t(c.dist[i]) * len[kMainSymbols + i];
  for (int i = 0; i < kRepSymbols; ++i)
    bits += std::uint64_t(c.rep[i]) * len[kMainSymbols + kDistSymbols + i];
  return bits;
}

// 16 × log2(x) for x ≥ 1, in integers so that every machine packs the same bytes.
std::int32_t log2Sixteenths(std::uint64_t x) {
  int whole = 63 - std::countl_zero(x);
  std::uint64_t m = whole >= 31 ? x >> (whole - 31) : x << (31 - whole);  // [2^31, 2^32)
  std::int32_t fraction = 0;
  for (int i = 0; i < 4; ++i) {
    m = (m * m) >> 31;
    fraction <<= 1;
    if (m >= (std::uint64_t(1) << 32)) {
      m >>= 1;
      fraction |= 1;
    }
  }
  return whole * 16 + fraction;
}

// First guess of the prices before any table exists: literals by their frequency in the
// entry, match symbols at typical lengths.
LzPrices initialPrices(const std::uint8_t* data, std::size_t size) {
  LzPrices p;
  std::uint32_t counts[256] = {};
  for (std::size_t i = 0; i < size; ++i) ++counts[data[i]];
  for (int s = 0; s < 256; ++s) {
    std::int32_t price = counts[s] ? log2Sixteenths(size) - log2Sixteenths(counts[s]) + 8 : 240;
    p.main[s] = std::clamp(price, 16, 240);
  }
  for (int s = 256; s < kMainSymbols; ++s) p.main[s] = 16 * 7;
  p.main[kSymRepeatLast] = 16 * 6;
  for (int s = 0; s < 4; ++s) p.main[kSymOldDist + s] = 16 * 6;
  for (int s = 0; s < kDistSymbols; ++s) p.dist[s] = 16 * 5;
  for (int s = 0; s < kRepSymbols; ++s) p.rep[s] = 16 * 4;
  return p;
}

std::vector<std::uint16_t> channelCodes(const std::vector<std::uint8_t>& lengths, int c,
                                        std::vector<std::uint8_t>& channelLengths) {
  channelLengths.assign(lengths.begin() + c * kAudioSymbols,
                        lengths.begin() + (c + 1) * kAudioSymbols);
  return canonicalCodes(channelLengths);
}

}  // namespace

PackStream::PackStream(int chainDepth) : finder_(chainDepth) { reset(); }

void PackStream::reset() {
  state_ = PackState{};
  window_.clear();
  finder_.reset(&window_);
}

bool PackStream::writeSwitch(BitWriter& out, const PackState& s) const {
  if (!s.tablesRead) return false;
  if (s.audioMode) {
    std::vector<std::uint8_t> len;
    std::vector<std::uint16_t> codes = channelCodes(s.lengths, s.audio.currentChannel, len);
    if (!len[kAudioNewTable]) return false;
    out.put(codes[kAudioNewTable], len[kAudioNewTable]);
  } else {
    std::vector<std::uint8_t> len(s.lengths.begin(), s.lengths.begin() + kMainSymbols);
    std::vector<std::uint16_t> codes = canonicalCodes(len);
    if (!len[kSymNewTable]) return false;
    out.put(codes[kSymNewTable], len[kSymNewTable]);
  }
  return true;
}

std::vector<std::size_t> PackStream::splitBlocks(const std::vector<LzToken>& tokens,
                                                 std::size_t begin, std::size_t end) const {
  std::vector<std::size_t> starts{begin};
  if (end - begin <= kBlockChunk) return starts;
  LzCounts current;
  std::size_t i = 0;
  std::size_t chunkEnd = begin + kBlockChunk;
  while (i < tokens.size() && tokens[i].pos < chunkEnd) current.add(tokens[i++]);
  while (i < tokens.size()) {
    std::size_t chunkStart = tokens[i].pos;
    chunkEnd = chunkStart + kBlockChunk;
    LzCounts chunk;
    while (i < tokens.size() && tokens[i].pos < chunkEnd) chunk.add(tokens[i++]);
    LzCounts merged = current;
    merged.add(chunk);
    // A table change costs its own symbol on top of the new table.
    if (blockBits(current) + blockBits(chunk) + 12 < blockBits(merged)) {
      starts.push_back(chunkStart);
      current = chunk;
    } else {
      current = merged;
    }
  }
  return starts;
}

void PackStream::packLzWithNewTables(BitWriter& out, PackState& s, std::size_t begin,
                                     std::size_t end, bool moreFollow,
                                     const MatchFinder::Snapshot& snap) {
  LzParser parser(window_, finder_);
  std::vector<LzToken> tokens;

  // First pass with guessed prices, to find the blocks and their statistics.
  LzPrices guess = initialPrices(window_.data() + begin, end - begin);
  LzHistory history = s.lz;
  finder_.restore(snap);
  const int depth = finder_.chainDepth();
  finder_.setChainDepth(std::max(8, depth / 8));  // statistics only: a rougher search will do
  parser.parse(0, begin, end, {{begin, &guess}}, history, tokens);
  finder_.setChainDepth(depth);
  std::vector<std::size_t> starts = splitBlocks(tokens, begin, end);

  // Second pass priced by each block's own table from the first.
  std::vector<LzPrices> guide(starts.size());
  std::vector<PriceSegment> segments;
  for (std::size_t b = 0, i = 0; b < starts.size(); ++b) {
    std::size_t stop = b + 1 < starts.size() ? starts[b + 1] : end;
    LzCounts counts;
    while (i < tokens.size() && tokens[i].pos < stop) counts.add(tokens[i++]);
    counts.main[kSymNewTable] = std::max(counts.main[kSymNewTable], 1u);
    guide[b] = pricesFromLengths(counts.lengths(), kAbsentGuess);
    segments.push_back({starts[b], &guide[b]});
  }
  history = s.lz;
  finder_.restore(snap);
  parser.parse(0, begin, end, segments, history, tokens);

  // Group the final symbols into their blocks; a block ends at the first symbol that
  // starts at or after the next block's start.
  std::vector<std::pair<std::size_t, std::size_t>> ranges;
  for (std::size_t b = 0, i = 0; b < starts.size(); ++b) {
    std::size_t stop = b + 1 < starts.size() ? starts[b + 1] : end;
    std::size_t first = i;
    while (i < tokens.size() && tokens[i].pos < stop) ++i;
    if (i > first || (tokens.empty() && b == 0)) ranges.push_back({first, i});
  }
  std::vector<std::uint8_t> previous;
  for (std::size_t r = 0; r < ranges.size(); ++r) {
    LzCounts counts;
    for (std::size_t i = ranges[r].first; i < ranges[r].second; ++i) counts.add(tokens[i]);
    if (r + 1 < ranges.size() || moreFollow || counts.main == LzCounts().main)
      counts.main[kSymNewTable] = std::max(counts.main[kSymNewTable], 1u);
    std::vector<std::uint8_t> lengths = counts.lengths();
    if (r > 0) {
      std::vector<std::uint8_t> mainLen(previous.begin(), previous.begin() + kMainSymbols);
      out.put(canonicalCodes(mainLen)[kSymNewTable], mainLen[kSymNewTable]);
    }
    writeTable(out, false, 1, lengths, s.history);
    writeLzTokens(out, tokens, ranges[r].first, ranges[r].second, lengths);
    previous = lengths;
  }
  s.lz = history;
  s.lengths = previous;
  s.audioMode = false;
  s.channels = 1;
  s.tablesRead = true;
}

bool PackStream::packLzWithOldTables(BitWriter& out, PackState& s, std::size_t begin,
                                     std::size_t end, const MatchFinder::Snapshot& snap) {
  LzParser parser(window_, finder_);
  std::vector<LzToken> tokens;
  LzPrices old = pricesFromLengths(s.lengths, kUnusablePrice);
  LzHistory history = s.lz;
  finder_.restore(snap);
  parser.parse(0, begin, end, {{begin, &old}}, history, tokens);
  for (const LzToken& t : tokens) {
    if (!s.lengths[t.main]) return false;
    if (t.sub >= 0) {
      int at = (t.main >= kSymLong ? kMainSymbols : kMainSymbols + kDistSymbols) + t.sub;
      if (!s.lengths[at]) return false;
    }
  }
  writeLzTokens(out, tokens, 0, tokens.size(), s.lengths);
  s.lz = history;
  return true;
}

void PackStream::packAudioWithNewTables(BitWriter& out, PackState& s, std::size_t begin,
                                        std::size_t end, int channels, bool moreFollow) {
  s.audioMode = true;
  s.channels = channels;
  s.tablesRead = true;
  if (s.audio.currentChannel >= channels) s.audio.currentChannel = 0;
  AudioState after = s.audio;
  std::vector<std::uint8_t> symbols(end - begin);
  std::vector<std::vector<std::uint32_t>> counts(channels,
                                                 std::vector<std::uint32_t>(kAudioSymbols, 0));
  for (std::size_t i = begin; i < end; ++i) {
    int c = after.currentChannel;
    symbols[i - begin] = std::uint8_t(encodeAudioByte(after, channels, window_[i]));
    ++counts[c][symbols[i - begin]];
  }
  if (moreFollow) counts[after.currentChannel][kAudioNewTable] = 1;
  std::vector<std::uint8_t> lengths;
  for (int c = 0; c < channels; ++c) {
    std::vector<std::uint8_t> l = limitedCodeLengths(counts[c], kMaxCodeLength);
    lengths.insert(lengths.end(), l.begin(), l.end());
  }
  writeTable(out, true, channels, lengths, s.history);
  s.lengths = lengths;
  std::vector<std::vector<std::uint8_t>> len(channels);
  std::vector<std::vector<std::uint16_t>> codes(channels);
  for (int c = 0; c < channels; ++c) codes[c] = channelCodes(lengths, c, len[c]);
  int c = s.audio.currentChannel;
  for (std::uint8_t sym : symbols) {
    out.put(codes[c][sym], len[c][sym]);
    if (++c == channels) c = 0;
  }
  s.audio = after;
  finder_.insertUpTo(end);
}

bool PackStream::packAudioWithOldTables(BitWriter& out, PackState& s, std::size_t begin,
                                        std::size_t end, bool moreFollow) {
  const int channels = s.channels;
  std::vector<std::vector<std::uint8_t>> len(channels);
  std::vector<std::vector<std::uint16_t>> codes(channels);
  for (int c = 0; c < channels; ++c) codes[c] = channelCodes(s.lengths, c, len[c]);
  AudioState after = s.audio;
  for (std::size_t i = begin; i < end; ++i) {
    int c = after.currentChannel;
    int sym = encodeAudioByte(after, channels, window_[i]);
    if (!len[c][sym]) return false;
    out.put(codes[c][sym], len[c][sym]);
  }
  if (moreFollow && !len[after.currentChannel][kAudioNewTable]) return false;
  s.audio = after;
  finder_.insertUpTo(end);
  return true;
}

bool PackStream::packEntry(const std::uint8_t* data, std::size_t size, int audioChannels,
                           bool continuation, bool moreFollow, std::vector<std::uint8_t>& packed) {
  if (!continuation) reset();
  const std::size_t begin = window_.size();
  window_.insert(window_.end(), data, data + size);
  const std::size_t end = window_.size();
  const MatchFinder::Snapshot snap = finder_.snapshot();

  PackState fresh = state_;
  BitWriter freshOut;
  // The table change must be codable with the inherited tables; every solid table keeps a
  // code for it, so failing here means the stream is out of step.
  const bool switched = !continuation || writeSwitch(freshOut, fresh);
  if (audioChannels > 0)
    packAudioWithNewTables(freshOut, fresh, begin, end, audioChannels, moreFollow);
  else
    packLzWithNewTables(freshOut, fresh, begin, end, moreFollow, snap);

  // A small solid entry may do better going on with the tables it inherits.
  if (continuation && size <= kKeepTablesLimit && state_.tablesRead &&
      state_.audioMode == (audioChannels > 0) &&
      (audioChannels == 0 || state_.channels == audioChannels)) {
    PackState kept = state_;
    BitWriter keptOut;
    bool ok = audioChannels > 0 ? packAudioWithOldTables(keptOut, kept, begin, end, moreFollow)
                                : packLzWithOldTables(keptOut, kept, begin, end, snap);
    if (ok && (!switched || keptOut.bitCount() < freshOut.bitCount())) {
      state_ = kept;
      packed = keptOut.bytes();
      return true;
    }
  }
  if (!switched) return false;
  state_ = fresh;
  packed = freshOut.bytes();
  return true;
}
