// Any bytes given to the strand profile reader fail cleanly or build a whole strand (324 atoms,
// 27 rung steps) whose schedule starts every flight between times 12 and 29.
#include <cstdint>
#include <cstdlib>

#include "scenes/dna_helix.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  DnaHelix helix;
  if (!helix.buildStrandFromBytes(data, size)) {
    if (!helix.strandA.empty() || helix.animated) std::abort();
    return 0;
  }
  if (size < StrandProfile::byteSize) std::abort();
  if (helix.strandA.size() != 324 || helix.rungEndA.size() != 27) std::abort();
  helix.startUnzip();
  for (std::size_t i = 0; i < helix.startTime.size(); i += 2) {
    if (!(helix.startTime[i] >= 12.0f && helix.startTime[i] <= 29.01f)) std::abort();
  }
  helix.update(13.0f);  // some pairs take off
  helix.update(0.5f);
  return 0;
}
