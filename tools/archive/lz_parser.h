#pragma once
// Turns bytes into LZ symbols: at each position the cheapest of a literal, a repeat of the
// last match, a match at one of the four old distances, a short match or a new long match,
// priced in the bits of the current code tables, with one step of lazy evaluation.
#include <cstdint>
#include <vector>

#include "tools/archive/bit_writer.h"
#include "tools/archive/match_finder.h"
#include "tools/archive/pack_codes.h"
#include "tools/archive/pack_state.h"

// One LZ symbol with the extra bits that follow it in the stream.
struct LzToken {
  std::uint32_t pos;       // first input byte the symbol produces
  std::uint16_t main;      // LD symbol
  std::int16_t sub = -1;   // RD symbol (257..260) or DD symbol (270..297), -1 for none
  std::uint8_t bitsA = 0;  // extra bits right after the LD symbol
  std::uint8_t bitsB = 0;  // extra bits after the RD/DD symbol
  std::uint32_t extraA = 0;
  std::uint32_t extraB = 0;
};

// Symbol prices in sixteenths of a bit.
struct LzPrices {
  std::int32_t main[kMainSymbols];
  std::int32_t dist[kDistSymbols];
  std::int32_t rep[kRepSymbols];
};

constexpr std::int32_t kUnusablePrice = 1 << 22;

// Prices from a 374-entry LZ table; absent symbols cost `absentPrice`.
LzPrices pricesFromLengths(const std::vector<std::uint8_t>& lengths, std::int32_t absentPrice);

// Where a price table starts to apply (an input position).
struct PriceSegment {
  std::size_t from;
  const LzPrices* prices;
};

class LzParser {
 public:
  LzParser(const std::vector<std::uint8_t>& data, MatchFinder& finder);
  virtual ~LzParser() = default;

  // Parses data[begin, end) with the history the unpacker will have; matches reach back no
  // further than `windowStart`. Returns the total price in sixteenths of a bit.
  std::int64_t parse(std::size_t windowStart, std::size_t begin, std::size_t end,
                     const std::vector<PriceSegment>& segments, LzHistory& history,
                     std::vector<LzToken>& tokens);

 private:
  enum class Kind { Literal, RepeatLast, Old, Short, Long };
  struct Choice {
    Kind kind = Kind::Literal;
    std::uint32_t length = 1;
    std::uint32_t distance = 0;
    int old = 0;
    std::int64_t price = 0;
    std::int64_t savings = 0;
  };

  Choice best(std::size_t pos, const LzPrices& prices, const LzHistory& history);
  std::uint32_t matchLength(std::size_t pos, std::size_t from, std::uint32_t limit) const;
  LzToken token(const Choice& c, std::size_t pos) const;

  const std::vector<std::uint8_t>& data_;
  MatchFinder& finder_;
  std::vector<std::int64_t> literalSums_;  // literal prices summed from `begin_`
  std::size_t begin_ = 0, end_ = 0, windowStart_ = 0;
};

// Price of a token under a price table.
std::int64_t tokenPrice(const LzToken& t, const LzPrices& prices);

// Writes tokens with the code tables of a 374-entry LZ table.
void writeLzTokens(BitWriter& out, const std::vector<LzToken>& tokens, std::size_t first,
                   std::size_t last, const std::vector<std::uint8_t>& lengths);
