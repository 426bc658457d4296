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
  beginOverlay();
  setWhite();
  loadTexture.bind();
  translate({400.0f, 300.0f, 0.0f});
  scale({400.0f, 300.0f, 1.0f});
  if (quadList != 0) glCallList(quadList);
  setLighting(true);
  glFinish();
  endOverlay();
  presentFrame();
}
