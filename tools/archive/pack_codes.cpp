#include "tools/archive/pack_codes.h"

#include <algorithm>

int lengthSlot(std::uint32_t value) {
  return int(std::upper_bound(lengthBase, lengthBase + 28, value) - lengthBase) - 1;
}

int distanceSlot(std::uint32_t value) {
  return int(std::upper_bound(distanceBase, distanceBase + 48, value) - distanceBase) - 1;
}

int shortSlot(std::uint32_t value) {
  return int(std::upper_bound(shortBase, shortBase + 8, value) - shortBase) - 1;
}
