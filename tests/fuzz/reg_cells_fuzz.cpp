// Any bytes given as reg_cells.dat are refused or give whole, finite records that the field
// places and sorts without trouble.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "scenes/cells_field.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<CellRecord> records;
  const bool ok = parseCellRecords(data, size, records);
  if (!ok && !records.empty()) std::abort();
  if (ok && (size < 4 || records.size() > (size - 4) / 28)) std::abort();
  CellsField field;
  if (field.addCells(data, size) != ok || field.cells().size() != records.size()) std::abort();
  field.update(0.02f);
  field.placeCells(Vec3(-310.5f, 20, 1e4f), Vec3(0, 0, -1));
  for (std::size_t i = 1; i < field.cells().size(); ++i) {
    if (field.cells()[i - 1]->distance < field.cells()[i]->distance) std::abort();
  }
  volatile float sink = field.cells().empty() ? 0.0f : field.cells().back()->alpha;
  (void)sink;
  return 0;
}
