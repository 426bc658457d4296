#include "tools/builtin_art/show_shots.h"

#include <GL/gl.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "anim/director.h"
#include "platform/display_mode.h"
#include "platform/offscreen_context.h"
#include "render/frame_presenter.h"
#include "settings/settings.h"
#include "show/saver_content.h"
#include "show/show_objects.h"

namespace {

// The frame is read back where it was drawn; presenting does nothing more.
void keepFrame(void*) {}

// The saver's lens (0.6 near, 1900 far, half height 0.5 at the near plane), widened or narrowed
// to the picture's own proportions so that nothing is stretched.
void setLens(int width, int height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const double halfWidth = 0.5 * width / height;
  glFrustum(-halfWidth, halfWidth, -0.5, 0.5, 0.6, 1900.0);
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

ArtImage ShowShots::strand(int width, int height, const ShotCamera& camera) {
  sceneState = Dna;
  // Without its texture the shell is left out: the strand stands on black.
  Texture* shell = frameComposition.scene.dnaEnvTexture;
  LayerTunnel* tunnel = frameComposition.scene.tunnel;
  frameComposition.scene.dnaEnvTexture = nullptr;
  frameComposition.scene.tunnel = nullptr;
  director.sceneColour = {0, 0, 0};
  ArtImage image = shoot(width, height, camera);
  frameComposition.scene.dnaEnvTexture = shell;
  frameComposition.scene.tunnel = tunnel;
  return image;
}

ArtImage ShowShots::shoot(int width, int height, const ShotCamera& camera) {
  width = std::min(width, offscreenWidth(context));
  height = std::min(height, offscreenHeight(context));
  setLens(width, height);
  placeCamera(camera);
  trackTime = 0;
  frameComposition.drawFrame(0.0f);
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

Vec3 ShowShots::strandCentre() const {
  const DnaHelix& helix = dnaHelices[shownDnaHelix];
  Vec3 low = helix.strandA.front(), high = low;
  for (const auto* strand : {&helix.strandA, &helix.strandB}) {
    for (const Vec3& p : *strand) {
      low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
      high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
  }
  // The left copy stands 300 units to the left of the origin.
  return (low + high) * 0.5f + Vec3(-300.0f, 0, 0);
}

float ShowShots::strandHalfHeight() const {
  const DnaHelix& helix = dnaHelices[shownDnaHelix];
  float low = helix.strandA.front().y, high = low;
  for (const auto* strand : {&helix.strandA, &helix.strandB})
    for (const Vec3& p : *strand) low = std::min(low, p.y), high = std::max(high, p.y);
  return (high - low) * 0.5f;
}
