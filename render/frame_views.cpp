#include "render/frame_views.h"

namespace {
FrameViews current;
}  // namespace

void setFrameViews(const FrameViews& views) {
  current = views;
  if (current.count < 1) current = FrameViews{};
}

const FrameViews& frameViews() { return current; }

void beginFrameView(int view) {
  if (current.begin != nullptr) current.begin(view, current.user);
}
