// Camera scripts of any content: reading, preparing and sampling must stay safe and finite.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "anim/key_track.h"
#include "assets/asset_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1u << 20) return 0;
  AssetBuffer buffer;
  if (!buffer.openFromMemory(data, static_cast<std::uint32_t>(size))) return 0;
  KeyTrack track;
  track.read(buffer);
  if (!track.prepare()) {
    if (!track.empty()) __builtin_trap();
    return 0;
  }
  const float end = track.lastKey().time;
  volatile float sink = 0;
  for (int i = 0; i <= 64; ++i) {
    const float t = end * static_cast<float>(i) / 64.0f;
    KeySegment segment;
    if (!track.findSegment(t, segment)) continue;
    const KeySample s = KeyTrack::sample(segment, t);
    sink = sink + s.position.x + s.rotation.w;
  }
  return 0;
}
