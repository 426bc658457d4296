#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

// A buffer read and written modulo its length: a sound that starts near the end goes on
// at the beginning, which is what a loop that plays forever hears.
class LoopBuffer {
 public:
  explicit LoopBuffer(size_t frames) : data(frames, 0.0f) {}
  virtual ~LoopBuffer() = default;

  size_t size() const { return data.size(); }
  void add(size_t index, float v) { data[index % data.size()] += v; }
  // Index of a frame given any position, for walking with next() instead of a division
  // per sample.
  size_t wrap(size_t position) const { return position % data.size(); }
  [[gnu::always_inline]] size_t next(size_t index) const {
    return index + 1 == data.size() ? 0 : index + 1;
  }
  float get(size_t index) const { return data[index % data.size()]; }
  [[gnu::always_inline]] float& operator[](size_t i) { return data.data()[i]; }
  [[gnu::always_inline]] float operator[](size_t i) const { return data.data()[i]; }
  std::vector<float>& samples() { return data; }

 private:
  std::vector<float> data;
};

// Runs a stateful per-sample process over the loop and keeps its output, after a first
// lap over the last `warmFrames` frames, so that its state at the start is what the end
// of the loop leaves behind. The process must forget faster than `warmFrames`.
template <typename Process>
void processAround(LoopBuffer& buf, size_t warmFrames, Process&& process) {
  const size_t n = buf.size();
  for (size_t i = n - std::min(warmFrames, n); i < n; ++i) (void)process(buf[i], i);
  for (size_t i = 0; i < n; ++i) buf[i] = process(buf[i], i);
}
