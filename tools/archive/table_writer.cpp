#include "tools/archive/table_writer.h"

#include "tools/archive/huffman_lengths.h"

namespace {

struct LengthToken {
  std::uint8_t symbol;  // 0..15 delta, 16 repeat, 17/18 zero run
  std::uint8_t extra;   // run length minus its base for 16..18
};

constexpr int kExtraBits[kPreSymbols] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7};

struct TablePlan {
  bool relative = false;
  std::vector<LengthToken> tokens;
  std::vector<std::uint8_t> preLengths;
  std::uint64_t bits = 0;
};

std::vector<LengthToken> tokenize(const std::vector<std::uint8_t>& lengths,
                                  const std::uint8_t* base, bool zeroRuns, bool repeatRuns) {
  std::vector<LengthToken> tokens;
  const std::size_t size = lengths.size();
  std::size_t i = 0;
  while (i < size) {
    std::size_t run = 0;
    if (zeroRuns && lengths[i] == 0) {
      while (i + run < size && lengths[i + run] == 0) ++run;
      if (run >= 11) {
        std::size_t n = run > 138 ? 138 : run;
        tokens.push_back({18, std::uint8_t(n - 11)});
        i += n;
        continue;
      }
      if (run >= 3) {
        std::size_t n = run > 10 ? 10 : run;
        tokens.push_back({17, std::uint8_t(n - 3)});
        i += n;
        continue;
      }
    }
    if (repeatRuns && i > 0) {
      run = 0;
      while (i + run < size && lengths[i + run] == lengths[i - 1]) ++run;
      if (run >= 3) {
        std::size_t n = run > 6 ? 6 : run;
        tokens.push_back({16, std::uint8_t(n - 3)});
        i += n;
        continue;
      }
    }
    tokens.push_back({std::uint8_t((lengths[i] - base[i]) & 15), 0});
    ++i;
  }
  return tokens;
}

TablePlan plan(bool audio, const std::vector<std::uint8_t>& lengths, const TableHistory& history) {
  static const std::array<std::uint8_t, kMaxTableSize> zeros{};
  bool relativeAllowed = history.size == int(lengths.size());
  TablePlan best;
  bool have = false;
  for (int relative = 0; relative <= (relativeAllowed ? 1 : 0); ++relative) {
    const std::uint8_t* base = relative ? history.lengths.data() : zeros.data();
    for (int variant = 0; variant < 4; ++variant) {
      TablePlan p;
      p.relative = relative != 0;
      p.tokens = tokenize(lengths, base, (variant & 1) == 0, (variant & 2) == 0);
      std::vector<std::uint32_t> counts(kPreSymbols, 0);
      for (const LengthToken& t : p.tokens) ++counts[t.symbol];
      p.preLengths = limitedCodeLengths(counts, kMaxCodeLength);
      p.bits = 2 + (audio ? 2 : 0) + 4 * kPreSymbols;
      for (int s = 0; s < kPreSymbols; ++s)
        p.bits += std::uint64_t(counts[s]) * (p.preLengths[s] + kExtraBits[s]);
      if (!have || p.bits < best.bits) {
        best = std::move(p);
        have = true;
      }
    }
  }
  return best;
}

}  // namespace

std::uint64_t tableBits(bool audio, int, const std::vector<std::uint8_t>& lengths,
                        const TableHistory& history) {
  return plan(audio, lengths, history).bits;
}

void writeTable(BitWriter& out, bool audio, int channels, const std::vector<std::uint8_t>& lengths,
                TableHistory& history) {
  TablePlan p = plan(audio, lengths, history);
  out.put(audio ? 1 : 0, 1);
  out.put(p.relative ? 1 : 0, 1);
  if (audio) out.put(std::uint32_t(channels - 1), 2);
  for (int s = 0; s < kPreSymbols; ++s) out.put(p.preLengths[s], 4);
  std::vector<std::uint16_t> codes = canonicalCodes(p.preLengths);
  for (const LengthToken& t : p.tokens) {
    out.put(codes[t.symbol], p.preLengths[t.symbol]);
    if (kExtraBits[t.symbol]) out.put(t.extra, kExtraBits[t.symbol]);
  }
  if (!p.relative) history.lengths.fill(0);
  for (std::size_t i = 0; i < lengths.size(); ++i) history.lengths[i] = lengths[i];
  history.size = int(lengths.size());
}
