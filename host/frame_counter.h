#pragma once
// The run's own count of frames drawn, kept for those who measure the frame rate from outside
// (tests of the frame cap and of the rest): with PLASMORA_FRAME_COUNT=path set, the file holds
// the number of frames drawn so far, rewritten in place after every frame. Without the
// variable it costs one branch per frame.
#include <cstdint>
#include <cstdio>

class FrameCounter {
 public:
  FrameCounter();
  ~FrameCounter();
  FrameCounter(const FrameCounter&) = delete;
  FrameCounter& operator=(const FrameCounter&) = delete;

  void frameDrawn();

 private:
  void write();

  std::FILE* file_ = nullptr;
  std::uint64_t frames_ = 0;
};
