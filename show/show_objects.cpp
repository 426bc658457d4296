#include "show/show_objects.h"

// One translation unit, so the definition order below is the construction order.
Director director;
CellsField cellsField;
DnaHelix dnaHelices[dnaHelixCount];
LayerTunnel layerTunnel;
Nucleus nucleus;
TextOverlay textOverlay;
LoadingScreen loadingScreen;
Texture cellTexture;
Texture envTexture;
Texture dnaEnvTexture;

FrameComposition frameComposition = [] {
  FrameComposition frame;
  frame.scene.director = &director;
  frame.scene.cellsField = &cellsField;
  frame.scene.dnaHelix = &dnaHelices[shownDnaHelix];
  frame.scene.tunnel = &layerTunnel;
  frame.scene.nucleus = &nucleus;
  frame.scene.overlay = &textOverlay;
  frame.scene.cellTexture = &cellTexture;
  frame.scene.envTexture = &envTexture;
  frame.scene.dnaEnvTexture = &dnaEnvTexture;
  return frame;
}();
