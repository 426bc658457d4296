#include "anim/director.h"

#include <cstdio>
#include <limits>

#include "assets/asset_buffer.h"
#include "scenes/cells_field.h"

SceneState sceneState = Cells;
float trackTime = 0.0f;

namespace {

constexpr int sceneCount = 3;

struct SceneInfo {
  const char* folder;
  float scriptFactor;  // trunc(randomUnit() * factor) picks the script
  float rate;          // track seconds per wall second
};

// Indexed by SceneState.
constexpr SceneInfo scenes[sceneCount] = {
    {"scenes\\core\\", 2.9f, 2.0f},
    {"scenes\\cells\\", 10.9f, 3.0f},
    {"scenes\\dna\\", 5.9f, 1.0f},
};

const SceneInfo& infoOf(SceneState state) { return scenes[state < sceneCount ? state : Cells]; }

}  // namespace

SceneState nextSceneState(SceneState state) {
  switch (state) {
    case Cells:
      return Core;
    case Core:
      return Dna;
    default:
      return Cells;
  }
}

float trackRate(SceneState state) { return infoOf(state).rate; }

const char* sceneFolder(SceneState state) { return infoOf(state).folder; }

int scriptNumber(SceneState state, float unit) {
  const float factor = infoOf(state).scriptFactor;
  const float product = unit * factor;
  // randomUnit gives 0..1; anything else is held to the scene's scripts.
  if (!(product >= 0.0f)) return 0;
  const int last = static_cast<int>(factor);
  return product >= static_cast<float>(last) ? last : static_cast<int>(product);
}

bool Director::loadScript(SceneState state, int number) {
  char name[64];
  std::snprintf(name, sizeof name, "%sscene%d.txt", sceneFolder(state), number);
  track.clear();
  AssetBuffer buffer;
  buffer.open(name);  // a missing entry reads as an empty script, which prepare refuses
  track.read(buffer);
  buffer.release();
  return track.prepare();
}

bool Director::loadScene() {
  sceneEnded = false;
  for (int scene = 0; scene < sceneCount; ++scene) {
    for (int draw = 0; draw < scriptDraws; ++draw) {
      if (loadScript(sceneState, scriptNumber(sceneState, randomUnit()))) return true;
    }
    sceneState = nextSceneState(sceneState);
  }
  // Three moves have brought sceneState back to where it started; the track is empty.
  track.clear();
  return false;
}

void Director::focusNearestCell(std::vector<std::unique_ptr<Cell>>& cells) {
  if (track.empty() || cells.empty()) return;
  const Vec3 end = track.lastKey().position;
  const LatticeFrame frame = latticeFrame(end);
  const Cell* nearest = nullptr;
  float nearestDistance = std::numeric_limits<float>::infinity();
  for (const auto& cell : cells) {
    if (!cell) continue;
    cell->position = nearestCopy(frame, cell->home);
    cell->distance = length(end - cell->position);
    // Only a strictly smaller distance replaces the best, so ties keep the earlier cell.
    if (cell->distance < nearestDistance) {
      nearestDistance = cell->distance;
      nearest = cell.get();
    }
  }
  if (nearest) sceneColour = nearest->colour;
}

void Director::update() {
  if (track.empty()) return;
  KeySegment segment;
  if (!track.findSegment(trackTime, segment)) {
    // The track has run out: the camera stands at its first key while the next scene loads.
    if (!track.firstSegment(segment)) return;
    trackTime = 0.0f;
    sceneEnded = true;
    sceneState = nextSceneState(sceneState);
  }
  const KeySample sample = KeyTrack::sample(segment, trackTime);
  position = sample.position;
  if (segment.first->freeze || !sample.rotationValid) return;
  orientation = sample.rotation;
  const Matrix4 m = toMatrix(orientation);
  // The rotation applied to the local x and z axes: the columns of the row-major matrix.
  viewDir = Vec3(m[0], m[4], m[8]);
  up = Vec3(m[2], m[6], m[10]);
}
