#pragma once
// The director: which scene is on screen, the camera path of each visit drawn at random from
// the scene scripts in data.sdd, the camera moved along it, and the end of a scene announced.
// The cycle is Cells -> Core -> Dna -> Cells, one visit per track; a visit lasts until the
// track time reaches the last key, the track time running at 3, 2 or 1 times the wall clock.
//
// Scripts that cannot be used. KeyTrack::prepare empties a track that cannot be sampled (a
// missing entry, fewer than two keys, a first key not at 0, times that do not increase), so
// loadScene draws again: up to scriptDraws scripts of the current scene, then moves sceneState
// on to the next scene and tries that one the same way. It returns true with a usable track;
// callers read sceneState afterwards, since it may have moved on. When no script of any scene
// can be used it returns false with sceneState where it started and an empty track: update then
// leaves the camera still, sceneEnded stays false, and the show keeps drawing the same view
// instead of flipping through the scenes every frame. The director never reads a key of an
// empty track, and a usable track always restarts at a segment (its first key is at 0).
//
// focusNearestCell with an empty track or no cells changes nothing.
#include <cstdint>
#include <memory>
#include <vector>

#include "anim/key_track.h"
#include "render/math.h"

class Cell;

// The scene on screen, shared by the whole program.
enum SceneState : std::uint8_t { Core = 0, Cells = 1, Dna = 2 };

// Both are process-wide: Cells and 0 at start-up; the run advances trackTime every frame.
extern SceneState sceneState;
extern float trackTime;

// The scene after `state` in the cycle.
SceneState nextSceneState(SceneState state);
// Track seconds per wall-clock second: 3 for Cells, 2 for Core, 1 for Dna.
float trackRate(SceneState state);
// The script folder of a scene, as named in the archive: "scenes\cells\" and so on.
const char* sceneFolder(SceneState state);
// The script number trunc(unit * k), k being 10.9, 2.9 or 5.9 (scripts 0-10, 0-2, 0-5).
int scriptNumber(SceneState state, float unit);

class Director {
 public:
  // Scripts drawn per scene before loadScene gives that scene up.
  static constexpr int scriptDraws = 4;

  Director() = default;
  Director(const Director&) = delete;
  Director& operator=(const Director&) = delete;
  virtual ~Director() = default;

  // Clears sceneEnded and loads a usable script for sceneState (see above).
  bool loadScene();

  // Places the cells around the end of the path (the same lattice rule as the field's own
  // draw) and takes sceneColour from the nearest one; on a tie the first in list order wins.
  void focusNearestCell(std::vector<std::unique_ptr<Cell>>& cells);

  // Moves the camera to trackTime; at the end of the track restarts it at its first segment
  // with trackTime 0, sets sceneEnded and moves sceneState on. A freeze segment keeps the
  // orientation.
  void update();

  Vec3 viewDir{0, 0, -1};
  Vec3 up{0, 1, 0};
  Vec3 position{0, 0, 0};
  Quat orientation{0, 0, 0, 1};
  Vec3 sceneColour{1, 1, 1};
  bool sceneEnded = false;
  KeyTrack track;

 private:
  bool loadScript(SceneState state, int number);
};
