#pragma once
// One complete frame, drawn and presented: the background shell around the camera, the scene
// of the current SceneState (field of cells, nucleus, or DNA helix 1), the fading fly-in
// tunnel at the start of the nucleus and DNA visits, and the frame-rate and clock overlay.
// The frame reads the director's camera and sceneColour, sceneState and trackTime, and the
// settings ShowFPS, ShowClock, TimeFormat and Detail; it presents through presentFrame(), once
// after drawing the same moment into every view of render/frame_views.h.
//
// The composition owns only its kept values (all zero at start-up); the scene objects,
// textures and the background list belong to the run content, which points the composition
// at them before the first frame. A scene object or texture that is missing (null) or failed
// to load (name 0) is simply not drawn; the frame goes on. In particular a shell whose
// texture failed is left out (drawn untextured and additive it would turn the picture white).
// Without a director the frame is cleared and presented only.
#include <cstdint>

#include "render/frame_rules.h"

class Director;
class CellsField;
class DnaHelix;
class LayerTunnel;
class Nucleus;
class TextOverlay;
class Texture;

// What the frame draws, all owned elsewhere.
struct FrameScene {
  Director* director = nullptr;
  CellsField* cellsField = nullptr;
  DnaHelix* dnaHelix = nullptr;  // the helix of the DNA scene (number 1 of ten)
  LayerTunnel* tunnel = nullptr;
  Nucleus* nucleus = nullptr;
  TextOverlay* overlay = nullptr;
  Texture* cellTexture = nullptr;    // "textures\cell.jpg", bound for the scenes
  Texture* envTexture = nullptr;     // "textures\env.jpg", the shell in the field of cells
  Texture* dnaEnvTexture = nullptr;  // "textures\d_env.jpg", the shell of nucleus and DNA
  std::uint32_t backgroundList = 0;  // display list of "meshes\lows.dat"
};

class FrameComposition {
 public:
  virtual ~FrameComposition() = default;

  // Draws one frame of dt wall-clock seconds and presents it; needs the rendering context.
  void drawFrame(float dt);

  FrameScene scene;
  float backgroundAngle = 0.0f;
  FrameRateWindow rate;  // frameCount, rateClock and framesPerSecond

 private:
  // The scene and, when asked, the overlay, into the view made ready.
  void drawView(bool withOverlay);
};
