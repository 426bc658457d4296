#pragma once
// A camera path: keys in time order, read from a script text, prepared once (tangents and
// Bezier control rotations from the neighbours) and sampled every frame.
//
// A track holds at most maxKeys keys (the shipped scripts have under 40): a text with more is
// refused as a whole, so that a script of many tiny keys can neither cost memory out of all
// proportion to its size nor make the per-frame segment search walk a huge list.
#include <memory>
#include <vector>

#include "anim/key_frame.h"
#include "render/math.h"

class AssetBuffer;

// Two consecutive keys whose time span holds the sampled time.
struct KeySegment {
  const KeyFrame* first = nullptr;
  const KeyFrame* second = nullptr;
};

// The camera at one moment. A freeze segment leaves the orientation as it was, so
// rotationValid is false there and rotation holds nothing of use.
struct KeySample {
  Vec3 position{0, 0, 0};
  Quat rotation{0, 0, 0, 1};
  bool rotationValid = false;
};

class KeyTrack {
 public:
  KeyTrack() = default;
  KeyTrack(const KeyTrack&) = delete;
  KeyTrack& operator=(const KeyTrack&) = delete;
  virtual ~KeyTrack() = default;

  // Deletes every key.
  void clear();

  static constexpr std::size_t maxKeys = 4096;

  // Appends the keys of a script text, line by line from the buffer's cursor, until ENDKEYS
  // or the end of the data. A key cut off by the end of the data (no end line) is dropped.
  // Once a key beyond maxKeys is complete the track is cleared and reading stops: an empty
  // track, which prepare() refuses.
  void read(AssetBuffer& buffer);

  // Derives every key's gradient and control rotations. A track that cannot be sampled
  // safely (fewer than two keys, a key without time, a first time other than 0, times that
  // do not strictly increase) is cleared instead and false is returned, so that a caller
  // never walks a broken path and can pick another script.
  bool prepare();

  // The consecutive pair with first.time <= t < second.time, searched from the first key.
  // False when t lies before the first key or at or beyond the last: the track has run out.
  bool findSegment(float t, KeySegment& segment) const;

  // The first two keys (the segment a finished track restarts on); false with fewer than two.
  bool firstSegment(KeySegment& segment) const;

  // Position (Hermite) and orientation (Bezier slerp) at t within the segment.
  static KeySample sample(const KeySegment& segment, float t);

  std::size_t size() const { return keys_.size(); }
  bool empty() const { return keys_.empty(); }
  // Both need a key to be there: check size() or empty() first.
  const KeyFrame& key(std::size_t i) const { return *keys_[i]; }
  const KeyFrame& lastKey() const { return *keys_.back(); }

 private:
  bool sampleable() const;

  std::vector<std::unique_ptr<KeyFrame>> keys_;
};
