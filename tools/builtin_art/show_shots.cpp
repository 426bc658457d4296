#include "tools/builtin_art/show_shots.h"

#include <GL/gl.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "anim/director.h"
#include "platform/display_mode.h"
#include "platform/offscreen_context.h"
#include "render/camera.h"
#include "render/frame_presenter.h"
#include "render/gl_state.h"
#include "settings/settings.h"
#include "show/saver_content.h"
#include "show/show_objects.h"

namespace {

// The frame is read back where it was drawn; presenting does nothing more.
void keepFrame(void*) {}

// The saver's lens (0.6 near, 1900 far, half height 0.5 at the near plane), widened or narrowed
// to the picture's own proportions so that nothing is stretched; a zoom above 1 narrows it
// (a longer lens, seen from further away, bends the near end of a subject less).
void setLens(int width, int height, float zoom = 1.0f) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const double halfHeight = 0.5 / zoom, halfWidth = halfHeight * width / height;
  glFrustum(-halfWidth, halfWidth, -halfHeight, halfHeight, 0.6, 1900.0 * zoom);
  glMatrixMode(GL_MODELVIEW);
}

void placeCamera(const ShotCamera& camera) {
  director.position = camera.position;
  director.viewDir = camera.viewDir;
  director.up = camera.up;
}

}  // namespace

ShowShots::~ShowShots() {
  if (context != nullptr) {
    stopContent();
    setFramePresenter(nullptr, nullptr);
    destroyOffscreenContext(context);
  }
}

bool ShowShots::open(const std::string& dataFolder, int maxWidth, int maxHeight,
                     std::string& error) {
  std::error_code fsError;
  const std::filesystem::path folder = std::filesystem::absolute(dataFolder, fsError);
  if (fsError || !std::filesystem::is_regular_file(folder / "data.sdd", fsError)) {
    error = "no data.sdd in " + dataFolder;
    return false;
  }
  DisplayMode mode{maxWidth, maxHeight, 32};
  applyStoredValues(settings, {}, &mode, folder.string());
  // A still picture: full detail, nothing overlaid, silent.
  settings.Detail = 2;
  settings.ShowClock = false;
  settings.ShowFPS = false;
  settings.EnableMusic = false;
  settings.VSync = false;
  std::filesystem::current_path(folder, fsError);
  if (fsError) {
    error = "cannot enter " + folder.string();
    return false;
  }
  seedRandom(1);
  context = createOffscreenContext(maxWidth, maxHeight);
  if (context == nullptr) {
    error = "no off-screen OpenGL context";
    return false;
  }
  setFramePresenter(&keepFrame, nullptr);
  startContent();
  loadContent();
  if (dnaHelices[shownDnaHelix].strandA.empty() || cellsField.cells().empty()) {
    error = "the archive's cells or strands could not be loaded";
    return false;
  }
  return true;
}

void ShowShots::advance(float seconds) {
  const float step = 1.0f / 30.0f;
  for (float t = 0; t < seconds; t += step) advanceObjects(step);
}

ArtImage ShowShots::cells(int width, int height, const ShotCamera& camera) {
  sceneState = Cells;
  frameComposition.scene.envTexture = &envTexture;
  cellsField.recolour();
  return shoot(width, height, camera);
}

ArtImage ShowShots::helix(int width, int height, const ShotCamera& camera, unsigned pairs,
                          float zoom) {
  if (pairs != longHelixPairs) {
    longHelix.buildProcedural(20.0f, 15.0f, pairs);
    longHelixPairs = pairs;
  }
  width = std::min(width, offscreenWidth(context));
  height = std::min(height, offscreenHeight(context));
  setLens(width, height, zoom);
  setDepthWrite(true);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  loadIdentity();
  lookFromCamera(camera.position, camera.viewDir, camera.up);
  setDepthTest(true);
  setLighting(true);
  glEnable(GL_COLOR_MATERIAL);
  setCulling(true);
  setBlending(false);
  setSpecular(Vec3(0.7f, 0.7f, 0.8f));
  setShininess(16.0f);
  longHelix.alpha = 1.0f;
  longHelix.atomTexture.bind();
  pushMatrix();
  longHelix.drawAtoms();
  popMatrix();
  setLighting(false);
  setCulling(false);
  setBlending(true);
  blendAdditive();
  setDepthWrite(false);
  longHelix.rungTexture.bind();
  pushMatrix();
  longHelix.drawRungs();
  popMatrix();
  setDepthWrite(true);
  return readBack(width, height);
}

ArtImage ShowShots::shoot(int width, int height, const ShotCamera& camera) {
  width = std::min(width, offscreenWidth(context));
  height = std::min(height, offscreenHeight(context));
  setLens(width, height);
  placeCamera(camera);
  trackTime = 0;
  frameComposition.drawFrame(0.0f);
  return readBack(width, height);
}

ArtImage ShowShots::readBack(int width, int height) {
  glFinish();
  const std::vector<std::uint8_t> rgba = readOffscreenPixels(context);
  const int stride = offscreenWidth(context);
  ArtImage image(width, height);
  // The framebuffer's rows run bottom up; the picture's top down.
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = rgba.data() + std::size_t(height - 1 - y) * stride * 4;
    for (int x = 0; x < width; ++x)
      image.at(x, y) = {row[x * 4] / 255.0f, row[x * 4 + 1] / 255.0f, row[x * 4 + 2] / 255.0f};
  }
  return image;
}
