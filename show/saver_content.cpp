#include "show/saver_content.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

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
// PLASMORA_FRAME_LOG=1: each time the frame-rate window closes, its count goes to stderr with
// the scene and the processor time so far (std::clock: all threads on Linux), so a real window's frame rate can be measured from
// outside (bench/window_frame_rate.sh) by the same counter the overlay shows.
bool logFrameRate = false;

void logFrameRateWindow() {
  if (!logFrameRate || frameComposition.rate.frameCount != 0) return;
  const char* scene = sceneState == Cells ? "Cells" : sceneState == Core ? "Core" : "Dna";
  std::fprintf(stderr, "plasmora: frame rate %d in %s, cpu %.3f s\n",
               static_cast<int>(frameComposition.rate.framesPerSecond), scene,
               static_cast<double>(std::clock()) / CLOCKS_PER_SEC);
}

// Mesa's software renderer takes megabytes for every large draw and gives them back at its
// end. With the C library's default, adaptive thresholds that memory went back to the system
// and was faulted in afresh on the next draw: about 2,000 page faults, several milliseconds, in
// every frame. Kept in the heap instead, it is taken once and reused.
void keepFrameMemory() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

}  // namespace

bool startContent(WindowHandle window) {
  keepFrameMemory();
  const char* log = std::getenv("PLASMORA_FRAME_LOG");
  logFrameRate = log != nullptr && *log != '\0' && *log != '0';
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
  logFrameRateWindow();
}

void restContent(bool resting) {
  if (settings.EnableMusic) pauseAudio(resting);
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
