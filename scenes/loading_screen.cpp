#include "scenes/loading_screen.h"

#include <GL/gl.h>

#include "render/frame_presenter.h"
#include "render/gl_state.h"
#include "render/overlay_bracket.h"

void LoadingScreen::prepare() {
  quadList = glGenLists(1);
  if (quadList != 0) {
    // t runs from 0 at the bottom edge to 1 at the top, as images are uploaded bottom row first.
    glNewList(quadList, GL_COMPILE);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-1.0f, -1.0f, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-1.0f, 1.0f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(1.0f, -1.0f, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glEnd();
    glEndList();
  }
  glFinish();
  loadTexture.load("textures\\load.jpg");
}

void LoadingScreen::show() const {
  setLighting(false);
  // A window that is not 4:3 has an overlay wider or taller than the picture: black around
  // it rather than whatever the new back buffer held.
  const OverlaySize size = overlaySize();
  if (size.width != 800.0f || size.height != 600.0f) {
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glPopAttrib();
  }
  beginOverlay();
  setWhite();
  loadTexture.bind();
  // Centred, at its own shape.
  translate({size.width / 2, size.height / 2, 0.0f});
  scale({400.0f, 300.0f, 1.0f});
  if (quadList != 0) glCallList(quadList);
  setLighting(true);
  glFinish();
  endOverlay();
  presentFrame();
}
