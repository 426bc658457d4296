#include "tools/archive/lz_parser.h"

#include <algorithm>

#include "tools/archive/huffman_lengths.h"

namespace {
// Matches stay well inside the window so no byte they copy can have been overwritten.
constexpr std::uint32_t kMaxDistance = kWindowSize - 0x100;
constexpr std::uint32_t kMaxMatch = 260;
// A match at least this long is taken without looking one byte ahead.
constexpr std::uint32_t kLazyLimit = 64;
// A match at least this long ends the search: longer ones save little more.
constexpr std::uint32_t kNiceLength = 128;
// Once a match this long is found, only a quarter of the remaining chain is searched.
constexpr std::uint32_t kGoodLength = 32;
}  // namespace

LzPrices pricesFromLengths(const std::vector<std::uint8_t>& lengths, std::int32_t absentPrice) {
  LzPrices p;
  auto price = [&](int i) { return lengths[i] ? std::int32_t(lengths[i]) * 16 : absentPrice; };
  for (int s = 0; s < kMainSymbols; ++s) p.main[s] = price(s);
  for (int s = 0; s < kDistSymbols; ++s) p.dist[s] = price(kMainSymbols + s);
  for (int s = 0; s < kRepSymbols; ++s) p.rep[s] = price(kMainSymbols + kDistSymbols + s);
  return p;
}

std::int64_t tokenPrice(const LzToken& t, const LzPrices& prices) {
  std::int64_t price = prices.main[t.main] + 16 * (t.bitsA + t.bitsB);
  if (t.sub >= 0) price += t.main >= kSymLong ? prices.dist[t.sub] : prices.rep[t.sub];
  return price;
}

LzParser::LzParser(const std::vector<std::uint8_t>& data, MatchFinder& finder)
    : data_(data), finder_(finder) {}

std::uint32_t LzParser::matchLength(std::size_t pos, std::size_t from, std::uint32_t limit) const {
  const std::uint8_t* a = data_.data() + pos;
  const std::uint8_t* b = data_.data() + from;
  std::uint32_t n = 0;
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

LzParser::Choice LzParser::best(std::size_t pos, const LzPrices& prices, const LzHistory& history) {
  finder_.insertUpTo(pos);
  Choice bestChoice;
  bestChoice.price = literalSums_[pos + 1 - begin_] - literalSums_[pos - begin_];
  const std::uint32_t maxLen = std::uint32_t(std::min<std::size_t>(kMaxMatch, end_ - pos));
  if (maxLen < 2) return bestChoice;
  const std::size_t reach = std::min<std::size_t>(pos - windowStart_, kMaxDistance);
  auto consider = [&](Kind kind, std::uint32_t length, std::uint32_t distance, int old,
                      std::int64_t price) {
    std::int64_t savings = literalSums_[pos + length - begin_] - literalSums_[pos - begin_] - price;
    if (savings > bestChoice.savings) {
      bestChoice = {kind, length, distance, old, price, savings};
    }
  };

  for (int k = 0; k < 4; ++k) {
    std::uint32_t d = history.old(k);
    if (d == 0 || d > reach) continue;
    std::uint32_t bonus = oldMatchBonus(d);
    std::uint32_t len = matchLength(pos, pos - d, maxLen);
    if (k == 0 && history.lastLength >= 2 && d == history.lastDist && len >= history.lastLength)
      consider(Kind::RepeatLast, history.lastLength, d, 0, prices.main[kSymRepeatLast]);
    len = std::min(len, 257 + bonus);
    if (len >= 2 + bonus) {
      int slot = lengthSlot(len - bonus - 2);
      consider(Kind::Old, len, d, k,
               prices.main[kSymOldDist + k] + prices.rep[slot] + 16 * lengthBits[slot]);
    }
  }

  std::int32_t pair = finder_.pairCandidate(pos);
  if (pair >= 0 && std::size_t(pair) < pos && pos - std::size_t(pair) <= 256 &&
      pos - std::size_t(pair) <= reach) {
    std::uint32_t d = std::uint32_t(pos - std::size_t(pair));
    int slot = shortSlot(d - 1);
    consider(Kind::Short, 2, d, 0, prices.main[kSymShort + slot] + 16 * shortBits[slot]);
  }

  if (maxLen >= 3) {
    std::uint32_t longest = 2;
    int depth = finder_.chainDepth();
    for (std::int32_t c = finder_.firstCandidate(pos); c >= 0 && depth-- > 0;
         c = finder_.nextCandidate(c)) {
      if (std::size_t(c) >= pos) break;
      std::size_t d = pos - std::size_t(c);
      if (d > reach) break;
      if (data_[std::size_t(c) + longest] != data_[pos + longest]) continue;
      std::uint32_t bonus = longMatchBonus(std::uint32_t(d));
      std::uint32_t len = matchLength(pos, std::size_t(c), std::min(maxLen, 258 + bonus));
      if (len <= longest) continue;
      if (longest < kGoodLength && len >= kGoodLength) depth >>= 2;
      longest = len;
      if (len >= 3 + bonus) {
        int lslot = lengthSlot(len - bonus - 3);
        int dslot = distanceSlot(std::uint32_t(d - 1));
        consider(Kind::Long, len, std::uint32_t(d), 0,
                 prices.main[kSymLong + lslot] + 16 * lengthBits[lslot] + prices.dist[dslot] +
                     16 * distanceBits[dslot]);
      }
      if (len >= maxLen || len >= kNiceLength) break;
    }
  }
  return bestChoice;
}

LzToken LzParser::token(const Choice& c, std::size_t pos) const {
  LzToken t;
  t.pos = std::uint32_t(pos);
  switch (c.kind) {
    case Kind::Literal:
      t.main = data_[pos];
      break;
    case Kind::RepeatLast:
      t.main = kSymRepeatLast;
      break;
    case Kind::Old: {
      std::uint32_t v = c.length - oldMatchBonus(c.distance) - 2;
      int slot = lengthSlot(v);
      t.main = std::uint16_t(kSymOldDist + c.old);
      t.sub = std::int16_t(slot);
      t.bitsB = lengthBits[slot];
      t.extraB = v - lengthBase[slot];
      break;
    }
    case Kind::Short: {
      int slot = shortSlot(c.distance - 1);
      t.main = std::uint16_t(kSymShort + slot);
      t.bitsA = shortBits[slot];
      t.extraA = c.distance - 1 - shortBase[slot];
      break;
    }
    case Kind::Long: {
      std::uint32_t v = c.length - longMatchBonus(c.distance) - 3;
      int lslot = lengthSlot(v);
      int dslot = distanceSlot(c.distance - 1);
      t.main = std::uint16_t(kSymLong + lslot);
      t.bitsA = lengthBits[lslot];
      t.extraA = v - lengthBase[lslot];
      t.sub = std::int16_t(dslot);
      t.bitsB = distanceBits[dslot];
      t.extraB = c.distance - 1 - distanceBase[dslot];
      break;
    }
  }
  return t;
}

std::int64_t LzParser::parse(std::size_t windowStart, std::size_t begin, std::size_t end,
                             const std::vector<PriceSegment>& segments, LzHistory& history,
                             std::vector<LzToken>& tokens) {
  begin_ = begin;
  end_ = end;
  windowStart_ = windowStart;
  tokens.clear();

  // Literal prices summed over the input, each byte priced by the table of its segment.
  literalSums_.assign(end - begin + 1, 0);
  std::size_t seg = 0;
  for (std::size_t i = begin; i < end; ++i) {
    while (seg + 1 < segments.size() && segments[seg + 1].from <= i) ++seg;
    literalSums_[i - begin + 1] = literalSums_[i - begin] + segments[seg].prices->main[data_[i]];
  }

  std::int64_t total = 0;
  seg = 0;
  std::size_t pos = begin;
  while (pos < end) {
    while (seg + 1 < segments.size() && segments[seg + 1].from <= pos) ++seg;
    const LzPrices& prices = *segments[seg].prices;
    Choice c = best(pos, prices, history);
    // One step of lazy evaluation: a literal now may buy a better match one byte on.
    while (c.kind != Kind::Literal && c.length < kLazyLimit && pos + 1 < end) {
      Choice next = best(pos + 1, prices, history);
      if (next.savings <= c.savings) break;
      LzToken lit = token(Choice{}, pos);
      total += tokenPrice(lit, prices);
      tokens.push_back(lit);
      ++pos;
      c = next;
    }
    LzToken t = token(c, pos);
    total += tokenPrice(t, prices);
    tokens.push_back(t);
    if (c.kind != Kind::Literal) history.pushMatch(c.distance, c.length);
    pos += c.length;
  }
  finder_.insertUpTo(end);
  return total;
}

void writeLzTokens(BitWriter& out, const std::vector<LzToken>& tokens, std::size_t first,
                   std::size_t last, const std::vector<std::uint8_t>& lengths) {
  std::vector<std::uint8_t> mainLen(lengths.begin(), lengths.begin() + kMainSymbols);
  std::vector<std::uint8_t> distLen(lengths.begin() + kMainSymbols,
                                    lengths.begin() + kMainSymbols + kDistSymbols);
  std::vector<std::uint8_t> repLen(lengths.begin() + kMainSymbols + kDistSymbols,
                                   lengths.begin() + kLzTableSize);
  std::vector<std::uint16_t> mainCode = canonicalCodes(mainLen);
  std::vector<std::uint16_t> distCode = canonicalCodes(distLen);
  std::vector<std::uint16_t> repCode = canonicalCodes(repLen);
  for (std::size_t i = first; i < last; ++i) {
    const LzToken& t = tokens[i];
    out.put(mainCode[t.main], mainLen[t.main]);
    if (t.bitsA) out.put(t.extraA, t.bitsA);
    if (t.sub >= 0) {
      if (t.main >= kSymLong)
        out.put(distCode[t.sub], distLen[t.sub]);
      else
        out.put(repCode[t.sub], repLen[t.sub]);
    }
    if (t.bitsB) out.put(t.extraB, t.bitsB);
  }
}
