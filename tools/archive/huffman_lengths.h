#pragma once
// Canonical Huffman codes as the unpacker rebuilds them from code lengths alone.
#include <cstdint>
#include <vector>

// Optimal code lengths for the given symbol counts with no code longer than maxLength
// (package-merge). Unused symbols get 0; a lone used symbol gets length 1.
std::vector<std::uint8_t> limitedCodeLengths(const std::vector<std::uint32_t>& counts,
                                             int maxLength);

// The codes for a set of lengths: shorter codes first, equal lengths in symbol order,
// each code to be written most significant bit first.
std::vector<std::uint16_t> canonicalCodes(const std::vector<std::uint8_t>& lengths);
