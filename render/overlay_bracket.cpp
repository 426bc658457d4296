#include "render/overlay_bracket.h"

#include <GL/gl.h>

namespace {

OverlaySize current;

}  // namespace

void setOverlaySize(OverlaySize size) { current = size; }

OverlaySize overlaySize() { return current; }

void beginOverlay() {
  glDisable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0.0, current.width, 0.0, current.height, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
}

void endOverlay() {
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_DEPTH_TEST);
}
