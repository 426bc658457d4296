#pragma once
// Writes a table read: the mode bits, the 19-symbol pre-table and the code lengths, coded
// either from scratch or relative to the previous table, whichever is shorter.
#include <array>
#include <cstdint>
#include <vector>

#include "tools/archive/bit_writer.h"
#include "tools/archive/pack_codes.h"

// The lengths of the last table the unpacker read; new lengths may be coded against them.
struct TableHistory {
  std::array<std::uint8_t, kMaxTableSize> lengths{};
  int size = 0;  // positions the last table filled; 0 after a reset
};

// Bits a table read of these lengths costs (header included), given the history.
std::uint64_t tableBits(bool audio, int channels, const std::vector<std::uint8_t>& lengths,
                        const TableHistory& history);

// Writes the table read and updates the history as the unpacker will. `lengths` holds
// 374 entries for an LZ table or 257 per channel for an audio table.
void writeTable(BitWriter& out, bool audio, int channels, const std::vector<std::uint8_t>& lengths,
                TableHistory& history);
