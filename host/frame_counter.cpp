#include "host/frame_counter.h"

#include <cstdlib>

FrameCounter::FrameCounter() {
  const char* path = std::getenv("PLASMORA_FRAME_COUNT");
  if (path != nullptr && *path != '\0') file_ = std::fopen(path, "w");
  write();
}

FrameCounter::~FrameCounter() {
  if (file_ != nullptr) std::fclose(file_);
}

void FrameCounter::frameDrawn() {
  ++frames_;
  write();
}

void FrameCounter::write() {
  if (file_ == nullptr) return;
  // Fixed width, so that a reader never sees the tail of a longer number.
  std::rewind(file_);
  std::fprintf(file_, "%20llu\n", static_cast<unsigned long long>(frames_));
  std::fflush(file_);
}
