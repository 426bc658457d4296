#include "render/frame_composition.h"

#include <GL/gl.h>

#include "anim/director.h"
#include "assets/texture.h"
#include "render/camera.h"
#include "render/frame_presenter.h"
#include "render/frame_views.h"
#include "render/gl_state.h"
#include "render/overlay_bracket.h"
#include "render/text_overlay.h"
#include "scenes/cells_field.h"
#include "scenes/dna_helix.h"
#include "scenes/layer_tunnel.h"
#include "scenes/nucleus.h"
#include "settings/settings.h"

namespace {

const Vec3 white{1.0f, 1.0f, 1.0f};

void bindTexture(const Texture* texture) {
  if (texture != nullptr)
    texture->bind();
  else
    glBindTexture(GL_TEXTURE_2D, 0);
}

void setMaterial() {
  const GLfloat diffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
  const GLfloat ambient[] = {0.0f, 0.0f, 0.0f, 0.0f};
  const GLfloat specular[] = {0.629f, 0.799f, 0.941f, 1.0f};
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 6.5f);
}

void drawList(std::uint32_t list) {
  if (list != 0) glCallList(list);
}

}  // namespace

void FrameComposition::drawFrame(float dt) {
  // The show moves once per frame, however many views show it.
  if (scene.director != nullptr) {
    backgroundAngle = advanceBackgroundAngle(backgroundAngle, dt);
    rate.countFrame(dt);
    if (scene.overlay != nullptr) scene.overlay->setNumber(rate.framesPerSecond);
  }
  const FrameViews& views = frameViews();
  for (int view = 0; view < views.count; ++view) {
    beginFrameView(view);
    drawView(view == views.overlayView);
  }
  presentFrame();
}

void FrameComposition::drawView(bool withOverlay) {
  setDepthWrite(true);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  // The clear goes out on its own. Mesa's software renderer then draws the rest of the frame in
  // about half the processor time it takes with the clear and the drawing queued together
  // (measured at 1280x720 in every scene); the picture is the same.
  glFlush();
  if (scene.director == nullptr) {
    // Without a camera there is nothing to place: an empty frame.
    return;
  }
  const Director& director = *scene.director;
  const SceneState state = sceneState;
  setMaterial();
  loadIdentity();

  // The background shell: at infinity in the field of cells (it turns with the camera only),
  // a fixed spinning shell around the nucleus and DNA scenes.
  blendAdditive();
  setCulling(false);
  setLighting(false);
  selectMatrix(TextureMatrix);
  loadIdentity();
  scale({2.0f, 1.0f, 1.0f});
  selectMatrix(ModelViewMatrix);
  setDepthWrite(false);
  const Texture* shellTexture = state == Cells ? scene.envTexture : scene.dnaEnvTexture;
  bindTexture(shellTexture);
  // Untextured, the additive shell would wash the whole picture out to white.
  const std::uint32_t shellList =
      shellTexture != nullptr && shellTexture->name != 0 ? scene.backgroundList : 0;
  if (state == Cells)
    lookFromOrigin(director.viewDir, director.up);
  else
    lookFromCamera(director.position, director.viewDir, director.up);
  setColour3(white);
  if (state == Core) setColour3(director.sceneColour);
  if (state == Dna) setColour3(white - director.sceneColour);
  if (state == Cells) {
    scaleUniform(3.0f);
  } else {
    translate({0.0f, 230.0f, 0.0f});
    scaleUniform(90.0f);
  }
  if (scene.nucleus != nullptr) scene.nucleus->tint = white - director.sceneColour;
  if (state != Cells) rotate({1.0f, 1.0f, 0.0f}, backgroundAngle);
  drawList(shellList);
  if (state != Cells) rotate({0.0f, 1.0f, 1.0f}, -backgroundAngle);
  rotate({0.0f, 1.0f, 0.0f}, 90.0f);
  drawList(shellList);

  glEnable(GL_COLOR_MATERIAL);
  selectMatrix(TextureMatrix);
  loadIdentity();
  selectMatrix(ModelViewMatrix);
  bindTexture(scene.cellTexture);
  loadIdentity();
  lookFromCamera(director.position, director.viewDir, director.up);
  setLighting(true);
  setDepthWrite(false);
  setBlending(true);

  switch (state) {
    case Cells:
      if (scene.cellsField != nullptr) scene.cellsField->draw(director.position, director.viewDir);
      break;
    case Dna:
      if (scene.dnaHelix != nullptr) scene.dnaHelix->drawStrand();
      break;
    case Core:
      if (scene.nucleus != nullptr) scene.nucleus->draw();
      break;
  }

  setLighting(false);
  setWhite();
  setCulling(false);
  if (scene.tunnel != nullptr && tunnelShown(state, trackTime, settings.Detail)) {
    scene.tunnel->colour = state == Core ? director.sceneColour : white - director.sceneColour;
    scene.tunnel->alpha = tunnelAlpha(trackTime);
    scene.tunnel->draw();
  }
  setWhite();
  blendAdditive();
  setBlending(true);

  // The overlay bracket runs even when nothing is shown in it.
  beginOverlay();
  if (scene.overlay != nullptr && withOverlay) {
    TextOverlay& overlay = *scene.overlay;
    overlay.atlas.bind();
    // The rate hangs from the top left corner, the clock from the bottom right one.
    const OverlaySize size = overlaySize();
    if (settings.ShowFPS) overlay.draw(0.0f, size.height - 40.0f);
    overlay.formatClock(settings.TimeFormat);
    if (settings.ShowClock)
      overlay.draw(size.width - (settings.TimeFormat ? 400.0f : 360.0f), 10.0f);
  }
  endOverlay();

  glFlush();
}
