#include "assets/tools/cell_generator.h"

#include <string>

#include "tools/common/binary_writer.h"
#include "tools/common/output_file.h"

namespace {

bool insidePeriod(Vec3 p) {
  auto in = [](float c) { return c >= -150.0f && c <= 150.0f; };
  return in(p.x) && in(p.y) && in(p.z);
}

// A new cell draws, per mitochondrion, its angle, axis (three), speed and radius, then its
// colour (three). The layout keeps the generator's sequence by drawing them too.
void drawNewCellValues() {
  for (int i = 0; i < 10; ++i) {
    randomUnit();
    randomDirection();
    randomUnit();
    randomUnit();
  }
  for (int c = 0; c < 3; ++c) randomUnit();
}

}  // namespace

std::vector<CellPlacement> generateCells() {
  std::vector<CellPlacement> cells;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      for (int k = 0; k < 4; ++k) {
        const Vec3 grid(75.0f * i - 112.5f, 75.0f * j - 112.5f, 75.0f * k - 112.5f);
        Vec3 candidate;
        do {
          const float m = randomUnit() * 28;
          const Vec3 d = randomDirection();
          candidate = grid + d * m;
        } while (!insidePeriod(candidate));
        drawNewCellValues();
        CellPlacement cell;
        cell.home = candidate;
        cell.axis = randomDirection();
        cell.angle = randomUnit() * 360;
        cells.push_back(cell);
      }
    }
  }
  return cells;
}

std::vector<std::uint8_t> encodeCells(const std::vector<CellPlacement>& cells) {
  BinaryWriter out;
  out.u32(static_cast<std::uint32_t>(cells.size()));
  for (const CellPlacement& c : cells) {
    for (float v : {c.home.x, c.home.y, c.home.z, c.axis.x, c.axis.y, c.axis.z, c.angle}) {
      out.f32(v);
    }
  }
  return std::move(out.bytes());
}

bool writeCells(const char* path, const std::vector<CellPlacement>& cells) {
  std::string error;
  return writeFileBytes(path, encodeCells(cells), error);
}
