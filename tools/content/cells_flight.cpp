#include <algorithm>
#include <cmath>

#include "tools/content/camera_flights.h"

namespace {

constexpr float period = 300;
constexpr float speed = 9;         // units per second of track time (27 per wall second)
constexpr float stepTime = 0.25f;  // planning step, track seconds
constexpr float keyTime = 3;       // one key per 3 s of track time (1 s on screen)
constexpr float insideDistance = 14;

struct Planner {
  const std::vector<CellPlacement>& cells;
  float avoid;
  PathRandom& random;
  Vec3 position;
  Vec3 heading;
  float time = 0;
  std::vector<Vec3> positions;  // one per step
  std::vector<Vec3> headings;

  // How good it is to fly on along `direction`: the smallest clearance left along the next
  // 100 units (obstacles further ahead count less), capped so that open space is not chased.
  float lookahead(Vec3 direction, int skip) const {
    float worst = 40;
    for (float s = 6; s <= 100; s += 6) {
      const float margin = cellClearance(position + direction * s, cells, skip) - avoid;
      worst = std::fmin(worst, margin + 0.3f * s);
    }
    return worst;
  }

  void step(Vec3 goal, float goalWeight, int skip, float pace) {
    Vec3 best = heading;
    float bestScore = -1e30f;
    for (int c = 0; c < 32; ++c) {
      const Vec3 candidate =
          c == 0 ? heading : normalize(heading + random.direction() * random.between(0.05f, 0.5f));
      const float score = lookahead(candidate, skip) + goalWeight * dot(candidate, goal) +
                          6 * dot(candidate, heading);
      if (score > bestScore) {
        bestScore = score;
        best = candidate;
      }
    }
    heading = normalize(heading + (best - heading) * 0.12f);
    position += heading * (speed * pace * stepTime);
    time += stepTime;
    positions.push_back(position);
    headings.push_back(heading);
  }
};

// A cell copy ahead that can be entered: within reach, in front, with no other cell so close
// that its membrane would reach the end point.
bool chooseTarget(const Planner& p, int& target, Vec3& centre) {
  float bestScore = 1e30f;
  for (std::size_t i = 0; i < p.cells.size(); ++i) {
    const Vec3 toCell = -latticeOffset(p.position, p.cells[i].home);
    const float distance = length(toCell);
    if (distance < 60 || distance > 170) continue;
    const float facing = dot(toCell / distance, p.heading);
    if (facing < 0.5f) continue;
    const Vec3 c = p.position + toCell;
    if (cellClearance(c, p.cells, static_cast<int>(i)) < p.avoid + insideDistance + 12) continue;
    const float score = distance * (2 - facing);
    if (score < bestScore) {
      bestScore = score;
      target = static_cast<int>(i);
      centre = c;
    }
  }
  return bestScore < 1e30f;
}

}  // namespace

Vec3 latticeOffset(Vec3 p, Vec3 home) {
  auto wrap = [](float d) { return d - period * std::floor((d + period / 2) / period); };
  const Vec3 d = p - home;
  return Vec3(wrap(d.x), wrap(d.y), wrap(d.z));
}

float cellClearance(Vec3 p, const std::vector<CellPlacement>& cells, int skip) {
  // Bring p into the period once; homes lie inside it, so each difference then needs at most
  // one shift. This runs millions of times per plan.
  auto reduce = [](float c) { return c - period * std::floor((c + period / 2) / period); };
  const float px = reduce(p.x), py = reduce(p.y), pz = reduce(p.z);
  auto shift = [](float d) {
    return d > period / 2 ? d - period : (d < -period / 2 ? d + period : d);
  };
  float nearest = 1e30f;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (static_cast<int>(i) == skip) continue;
    const float dx = shift(px - cells[i].home.x);
    const float dy = shift(py - cells[i].home.y);
    const float dz = shift(pz - cells[i].home.z);
    const float squared = dx * dx + dy * dy + dz * dz;
    if (squared < nearest) nearest = squared;
  }
  return std::sqrt(nearest);
}

std::vector<ScriptKey> cellsFlight(const std::vector<CellPlacement>& cells, int index, float avoid,
                                   int attempt, int& target) {
  PathRandom random(static_cast<unsigned>(index * 7919 + attempt * 104729 + 11));
  Planner p{cells, avoid, random, Vec3(0, 0, 0), random.direction(), 0, {}, {}};
  // Start somewhere open, well clear of every membrane.
  for (int tries = 0;; ++tries) {
    p.position =
        Vec3(random.between(-150, 150), random.between(-150, 150), random.between(-150, 150));
    if (cellClearance(p.position, cells, -1) > avoid + 20) break;
    if (tries > 1000) return {};
  }
  p.positions.push_back(p.position);
  p.headings.push_back(p.heading);

  // Cruise with a slowly turning wish of direction, so that each flight explores differently.
  const float cruise = 56 + 7 * static_cast<float>(index % 6);
  Vec3 wish = random.direction();
  while (p.time < cruise) {
    if (static_cast<int>(p.time / stepTime) % 40 == 0) wish = normalize(wish + random.direction());
    p.step(wish, 3, -1, 1);
  }

  // Pick a cell ahead and steer into it.
  Vec3 centre(0, 0, 0);
  target = -1;
  while (!chooseTarget(p, target, centre)) {
    if (p.time > cruise + 40) return {};
    p.step(p.heading, 3, -1, 1);
  }
  while (length(centre - p.position) > 45) {
    if (p.time > cruise + 80) return {};
    p.step(normalize(centre - p.position), 30, target, 1);
  }
  // Through the membrane, slowing down, to a stop short of the cell's body.
  const Vec3 inside = centre - normalize(centre - p.position) * insideDistance;
  while (length(inside - p.position) > speed * stepTime * 0.4f) {
    if (p.time > cruise + 120) return {};
    const float remaining = length(inside - p.position);
    const float pace = std::fmax(0.3f, std::fmin(1.0f, remaining / 30));
    p.step(normalize(inside - p.position), 200, target, pace);
  }

  // Keys every keyTime; the last one exactly at the end point, looking at the cell's centre.
  std::vector<ScriptKey> keys;
  const int stepsPerKey = static_cast<int>(keyTime / stepTime);
  const std::size_t last = p.positions.size() - 1;
  for (std::size_t s = 0; s + stepsPerKey / 2 < last; s += stepsPerKey) {
    ScriptKey k;
    k.time = static_cast<float>(s) * stepTime;
    k.position = p.positions[s];
    // Looking along the chord a little ahead evens out the planner's small corrections.
    const std::size_t from = s >= 4 ? s - 4 : 0;
    const std::size_t to = std::min(s + 8, last);
    k.forward = normalize(p.positions[to] - p.positions[from]);
    keys.push_back(k);
  }
  ScriptKey end;
  end.time = static_cast<float>(last) * stepTime;
  end.position = inside;
  end.forward = normalize(centre - inside);
  keys.push_back(end);

  // Up follows the path without twisting, with a slow roll of a few degrees per key.
  Vec3 up = perpendicularUp(keys[0].forward, Vec3(0, 1, 0));
  for (std::size_t i = 0; i < keys.size(); ++i) {
    up = perpendicularUp(keys[i].forward, up);
    const float roll = 4.0f * std::sin(0.11f * keys[i].time + static_cast<float>(index));
    up = rotateAboutAxis(up, keys[i].forward, roll);
    keys[i].up = up;
  }
  return keys;
}
