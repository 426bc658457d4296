#include "tools/content/flight_check.h"

#include <cmath>

#include "anim/key_track.h"
#include "assets/asset_buffer.h"

FlightReport checkFlight(const std::string& script, float rate,
                         const std::function<bool(Vec3)>& allowed) {
  FlightReport report;
  AssetBuffer buffer;
  buffer.openFromMemory(reinterpret_cast<const std::uint8_t*>(script.data()),
                        static_cast<std::uint32_t>(script.size()));
  KeyTrack track;
  track.read(buffer);
  if (!track.prepare()) return report;
  report.readable = true;
  report.duration = track.lastKey().time;
  report.end = track.lastKey().position;

  const float step = 0.02f * rate;  // about one frame at 50 frames per second
  Vec3 previousView(0, 0, 0);
  bool first = true;
  for (float t = 0; t < report.duration; t += step) {
    KeySegment segment;
    if (!track.findSegment(t, segment)) break;
    const KeySample s = KeyTrack::sample(segment, t);
    if (!allowed(s.position)) report.placesAllowed = false;
    if (!s.rotationValid) continue;
    const Matrix4 m = toMatrix(s.rotation);
    const Vec3 view = normalize(Vec3(m[0], m[4], m[8]));
    if (!first) {
      const float c = std::fmax(-1.0f, std::fmin(1.0f, dot(view, previousView)));
      const float degreesPerSecond = std::acos(c) * 57.29578f / (step / rate);
      report.worstTurn = std::fmax(report.worstTurn, degreesPerSecond);
    }
    previousView = view;
    first = false;
  }
  return report;
}
