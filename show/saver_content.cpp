#include "show/saver_content.h"

#include <cstdio>
#include <memory>

#include "assets/mesh_model.h"
#include "audio/music_player.h"
#include "render/gl_state.h"
#include "settings/settings.h"
#include "show/gamma_control.h"
#include "show/graphics_setup.h"
#include "show/show_objects.h"

namespace {

// Run-local: the background shell, whose display list the frame draws.
std::unique_ptr<MeshModel> background;
// Run-local: holds the music the audio module plays from.
std::unique_ptr<MusicPlayer> musicPlayer;
// Whether this run changed the display's ramp: only then does its end write one. A run that
// ended before the ramp (no audio module) or whose ramp was refused leaves the user's alone.
bool rampChanged = false;

}  // namespace

bool startContent(WindowHandle window) {
  musicPlayer = std::make_unique<MusicPlayer>();
  // The music plays while the rest loads.
  if (settings.EnableMusic) {
    if (!startAudio(window)) return false;
    musicPlayer->playMusic();
  }
  initRenderState();
  initGraphics();
  if (!settings.DefGamma) {
    const float g = gammaExponent(settings.Gamma);
    rampChanged = setGammaRamp(g, g, g);
  }
  loadingScreen.prepare();
  return true;
}

void loadContent() {
  loadingScreen.show();
  trackTime = 0.0f;
  sceneState = Cells;
  textOverlay.init();
  background = std::make_unique<MeshModel>();
  background->load("meshes\\lows.dat");
  frameComposition.scene.backgroundList = background->list;
  cellTexture.load("textures\\cell.jpg");
  envTexture.load("textures\\env.jpg");
  dnaEnvTexture.load("textures\\d_env.jpg");
  layerTunnel.build();
  cellsField.loadCells("reg_cells.dat");
  for (std::size_t i = 0; i < dnaHelixCount; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "dna%zu.dat", i);
    dnaHelices[i].loadStrand(name);
  }
  nucleus.load();
  director.loadScene();
  director.focusNearestCell(cellsField.cells());
}

void advanceObjects(float dt) {
  // The objects move at 0.8 of the wall clock, in every scene state.
  const float step = dt * 0.8f;
  cellsField.update(step);
  for (DnaHelix& helix : dnaHelices) helix.update(step);
  layerTunnel.update(step);
  nucleus.update(step);
}

void directAndDraw(float dt) {
  trackTime += dt * trackRate(sceneState);
  director.update();
  if (director.sceneEnded) {
    director.loadScene();
    // The scene the director has just entered.
    if (sceneState == Cells) {
      cellsField.recolour();
      director.focusNearestCell(cellsField.cells());
    } else if (sceneState == Dna) {
      dnaHelices[shownDnaHelix].startUnzip();
    }
  }
  frameComposition.drawFrame(dt);
}

void stopContent() {
  if (settings.EnableMusic) stopAudio();
  // Only now that the module is gone: it played from the player's buffer.
  musicPlayer.reset();
  if (rampChanged) restoreGammaRamp();
  rampChanged = false;
  frameComposition.scene.backgroundList = 0;
  background.reset();
}
