// Camera paths of the nucleus and DNA scenes: smooth curves through hand-placed waypoints,
// each with the point the camera looks at.
#include <cmath>

#include "tools/content/camera_flights.h"

namespace {

constexpr float pi = 3.14159265f;

struct Waypoint {
  float time;
  Vec3 position;
  Vec3 look;
};

Vec3 catmullRom(Vec3 p0, Vec3 p1, Vec3 p2, Vec3 p3, float s) {
  const float s2 = s * s, s3 = s2 * s;
  return (p1 * 2 + (p2 - p0) * s + (p0 * 2 - p1 * 5 + p2 * 4 - p3) * s2 +
          (p1 * 3 - p0 - p2 * 3 + p3) * s3) *
         0.5f;
}

// The nucleus and DNA scenes' background shell: centre and the largest distance from it
// at which a waypoint may lie. The curve between waypoints bulges a little beyond them, and
// the shell's far side must stay inside the far plane (content_meshes.h, lowsRadius).
const Vec3 shellCentre(0, 230, 0);
constexpr float waypointReach = 800;

// Pulls every waypoint that lies farther than waypointReach from the shell's centre in
// toward it, along the line to the centre, so the paths keep their shape.
void keepInsideShell(std::vector<Waypoint>& w) {
  for (Waypoint& p : w) {
    const Vec3 offset = p.position - shellCentre;
    const float d = length(offset);
    if (d > waypointReach) p.position = shellCentre + offset * (waypointReach / d);
  }
}

// Position and look point at time t on the curve through the waypoints (ends extended
// straight), sampled into keys every `every` seconds; up stays near world up, tilted by
// `roll` degrees at most.
std::vector<ScriptKey> keysThrough(const std::vector<Waypoint>& w, float every, float roll) {
  const std::size_t n = w.size();
  auto at = [&](float t, bool look) {
    std::size_t i = 0;
    while (i + 2 < n && t >= w[i + 1].time) ++i;
    const float s = (t - w[i].time) / (w[i + 1].time - w[i].time);
    auto value = [&](std::size_t k) { return look ? w[k].look : w[k].position; };
    const Vec3 p1 = value(i), p2 = value(i + 1);
    const Vec3 p0 = i > 0 ? value(i - 1) : p1 * 2 - p2;
    const Vec3 p3 = i + 2 < n ? value(i + 2) : p2 * 2 - p1;
    return catmullRom(p0, p1, p2, p3, s);
  };
  std::vector<ScriptKey> keys;
  const float end = w.back().time;
  const int count = static_cast<int>(std::lround(end / every));
  for (int k = 0; k <= count; ++k) {
    const float t = end * static_cast<float>(k) / static_cast<float>(count);
    ScriptKey key;
    key.time = t;
    key.position = at(t, false);
    key.forward = normalize(at(t, true) - key.position);
    const float tilt = roll * std::sin(2 * pi * t / end);
    key.up = rotateAboutAxis(perpendicularUp(key.forward, Vec3(0, 1, 0)), key.forward, tilt);
    keys.push_back(key);
  }
  return keys;
}

// A point at radius r, azimuth a and elevation e (degrees) around the origin, y up.
Vec3 around(float r, float a, float e) {
  const float ar = a * pi / 180, er = e * pi / 180;
  return Vec3(r * std::cos(er) * std::sin(ar), r * std::sin(er), r * std::cos(er) * std::cos(ar));
}

}  // namespace

std::vector<ScriptKey> coreFlight(int index) {
  std::vector<Waypoint> w;
  switch (index) {
    case 0:  // straight in from afar, then a slow half orbit close to the surface
      w = {{0, around(1050, 0, 22), Vec3(0, 0, 0)},     {14, around(700, 25, 16), Vec3(0, 0, 0)},
           {28, around(430, 60, 8), Vec3(0, -20, 0)},   {42, around(390, 100, 2), Vec3(0, -40, 0)},
           {56, around(380, 140, -4), Vec3(0, -20, 0)}, {66, around(400, 165, -6), Vec3(0, 0, 0)}};
      break;
    case 1:  // a descending spiral through the cloud, looking past the body now and then
      w = {{0, around(850, 200, -18), Vec3(0, 0, 0)},  {12, around(700, 160, -8), Vec3(120, 40, 0)},
           {24, around(560, 110, 4), Vec3(0, 60, 80)}, {36, around(440, 60, 12), Vec3(0, 0, 0)},
           {48, around(340, 15, 16), Vec3(-60, 0, 0)}, {58, around(320, -20, 10), Vec3(0, 0, 0)}};
      break;
    default:  // over the top of the body and down its far side
      w = {{0, around(950, 90, 35), Vec3(0, 0, 0)},
           {14, around(720, 130, 30), Vec3(0, 0, 0)},
           {28, around(520, 180, 20), Vec3(0, 50, 0)},
           {42, around(380, 230, 8), Vec3(0, 0, 0)},
           {56, around(310, 270, -6), Vec3(0, -60, 0)},
           {70, around(340, 300, -14), Vec3(0, -40, 0)}};
      break;
  }
  keepInsideShell(w);
  return keysThrough(w, 2, 8);
}

std::vector<ScriptKey> dnaFlight(int index) {
  std::vector<Waypoint> w;
  switch (index) {
    case 0:  // both copies from the front, drifting across
      w = {{0, Vec3(0, 380, 900), Vec3(0, 380, 0)},
           {10, Vec3(-160, 320, 740), Vec3(-140, 380, 0)},
           {20, Vec3(0, 430, 620), Vec3(0, 420, 0)},
           {30, Vec3(160, 460, 680), Vec3(140, 400, 0)},
           {40, Vec3(60, 400, 800), Vec3(60, 380, 0)}};
      break;
    case 1:  // from the old copy along the flight to the new one
      w = {{0, Vec3(-320, 250, 520), Vec3(-300, 320, 0)},
           {10, Vec3(-200, 420, 620), Vec3(-120, 420, 0)},
           {20, Vec3(0, 520, 700), Vec3(0, 450, 0)},
           {30, Vec3(200, 440, 640), Vec3(260, 400, 0)},
           {40, Vec3(330, 330, 560), Vec3(300, 380, 0)}};
      break;
    case 2:  // rising through the gap between the copies
      w = {{0, Vec3(0, -150, 720), Vec3(0, 300, 0)},
           {10, Vec3(0, 150, 520), Vec3(0, 380, 0)},
           {20, Vec3(0, 450, 420), Vec3(0, 420, 0)},
           {30, Vec3(0, 750, 520), Vec3(0, 380, 0)},
           {40, Vec3(0, 950, 700), Vec3(0, 350, 0)}};
      break;
    case 3:  // half way round the pair, climbing
      for (int k = 0; k <= 5; ++k) {
        const float a = -55 + 22 * static_cast<float>(k);
        w.push_back({8.0f * k, around(700, a, 0) + Vec3(0, 160 + 100.0f * k, 0), Vec3(0, 380, 0)});
      }
      break;
    case 4:  // from below, looking up at the strands
      w = {{0, Vec3(-520, -160, 520), Vec3(-300, 300, 0)},
           {10, Vec3(-220, -60, 430), Vec3(-150, 380, 0)},
           {20, Vec3(0, 0, 380), Vec3(0, 420, 0)},
           {30, Vec3(230, -60, 430), Vec3(150, 380, 0)},
           {40, Vec3(520, -150, 520), Vec3(300, 320, 0)}};
      break;
    default:  // down from high above onto the new copy
      w = {{0, Vec3(0, 1100, 450), Vec3(0, 380, 0)},
           {10, Vec3(-120, 900, 560), Vec3(-100, 380, 0)},
           {20, Vec3(0, 700, 640), Vec3(0, 400, 0)},
           {30, Vec3(220, 560, 600), Vec3(220, 400, 0)},
           {40, Vec3(380, 420, 520), Vec3(300, 380, 0)}};
      break;
  }
  keepInsideShell(w);
  return keysThrough(w, 2, 5);
}
