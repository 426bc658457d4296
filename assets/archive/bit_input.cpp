#include "assets/archive/bit_input.h"

#include "assets/archive/archive_source.h"

#include <cstring>

std::uint32_t BitInput::fetch(int offset, int count) {
  std::uint32_t wanted = static_cast<std::uint32_t>(count);
  if (wanted > budget_) wanted = budget_;
  std::uint32_t got = 0;
  if (wanted > 0 && source_ != nullptr)
    got = static_cast<std::uint32_t>(source_->read(buffer_ + offset, wanted));
  budget_ -= got;
  delivered_ += got;
  return got;
}

void BitInput::start(ArchiveSource& source, std::uint32_t packedBudget) {
  source_ = &source;
  budget_ = packedBudget;
  consumedBase_ = 0;
  delivered_ = 0;
  position = 0;
  readTop = static_cast<int>(fetch(0, bufferSize));
  validBits_ = static_cast<std::int64_t>(delivered_) * 8;
}

void BitInput::refill() {
  std::memmove(buffer_, buffer_ + bufferSize - 32, 32);
  // The read point keeps its place within the last 32 bytes, which move to the front.
  int address = static_cast<int>(position >> 3);
  int kept = address & 31;
  consumedBase_ += static_cast<std::uint64_t>(address - kept);
  position &= 0xFF;
  std::uint32_t got = fetch(32, bufferSize - 32);
  readTop = got > 0 ? static_cast<int>(got) + 32 : kept;
  validBits_ =
      (static_cast<std::int64_t>(delivered_) - static_cast<std::int64_t>(consumedBase_)) * 8;
}
