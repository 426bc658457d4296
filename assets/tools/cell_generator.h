#pragma once
// The cell layout of the field: 64 cells jittered around a 4 x 4 x 4 grid inside one
// 300-unit lattice period, each with its own spin axis and starting angle.
#include <cstdint>
#include <vector>

#include "render/math.h"

struct CellPlacement {
  Vec3 home;
  Vec3 axis;
  float angle;
};

// Draws the layout from the shared random source, in the order the field's own generator
// draws: per cell the jitter (distance, then direction, again while outside +-150), the
// values a new cell draws for itself (mitochondria and colour), then axis and angle.
std::vector<CellPlacement> generateCells();

// The reg_cells.dat bytes: count, then home, axis and angle of every cell.
std::vector<std::uint8_t> encodeCells(const std::vector<CellPlacement>& cells);
bool writeCells(const char* path, const std::vector<CellPlacement>& cells);
