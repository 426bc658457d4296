#pragma once
// Into how many views one frame is drawn. By default one: whatever surface is current. The
// saver showing the show on several monitors installs one view per monitor's window; each
// frame then advances the show once, draws the same moment into every view in turn (each view's
// begin makes its window current and sets its projection) and presents once, so the windows
// show the same frame. Only the overlay view gets the frame rate and the clock.

using FrameViewBegin = void (*)(int view, void* user);

struct FrameViews {
  int count = 1;
  int overlayView = 0;
  FrameViewBegin begin = nullptr;  // null: nothing to do before drawing a view
  void* user = nullptr;
};

// Installs the views; a default FrameViews{} restores the one current surface.
void setFrameViews(const FrameViews& views);
const FrameViews& frameViews();

// Readies view `view` for drawing (see begin).
void beginFrameView(int view);
