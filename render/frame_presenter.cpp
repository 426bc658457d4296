#include "render/frame_presenter.h"

#include <GL/gl.h>

namespace {
FramePresenter current = nullptr;
void* currentUser = nullptr;
}  // namespace

void setFramePresenter(FramePresenter presenter, void* user) {
  current = presenter;
  currentUser = user;
}

void presentFrame() {
  if (current != nullptr)
    current(currentUser);
  else
    glFlush();
}
