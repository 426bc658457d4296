#pragma once

#include <array>
#include <cstdint>

class BitInput;

// A canonical Huffman decoder built from a list of code lengths (0 = absent, 1..15).
// Decoding compares the next 16 bits against the per-length limits and indexes the symbol list
// directly. Over-subscribed or empty length lists still give a usable decoder: an index past
// the placed symbols yields symbol 0 (or a zero slot), never a read outside the tables.
class HuffmanDecoder {
public:
    static constexpr int maxSymbols = 298;

    virtual ~HuffmanDecoder() = default;

    void build(const std::uint8_t* lengths, int count);
    int decode(BitInput& input) const;

private:
    int alphabetSize_ = 0;
    std::array<std::uint32_t, 16> limit_{};
    std::array<std::uint32_t, 16> position_{};
    std::array<std::uint16_t, maxSymbols> symbols_{};
};
