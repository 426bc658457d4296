#pragma once
// The one loop of every run that draws the show, the full-screen saver's and the hack's:
// pending messages first, one per pass, a frame only when none is pending, until Quit.
//
// What differs between the runs comes in as a RunShape. The rest is the same for both:
// - Rest while nobody can see the picture: while the display is powered down (asked about
//   once a second) or a watched window is hidden (unmapped, or fully covered), no frame is
//   drawn, the music pauses and the loop sleeps in its wait for messages. On waking the show
//   goes on where it was: the time asleep is not fed to the scenes.
// - The frame cap (FrameLimit) is kept by the presenter (host/window_presenter.h).
#include "platform/window.h"

struct RunShape {
  // The saver: mouse travel past the limit ends the run when MouseExit is set, and the cursor
  // is kept at the primary window's centre.
  bool mouseEnds = false;
  // A Close or Destroy of this window ends the run (the hack's ordinary window).
  WindowHandle endingWindow = 0;
  // The projection follows this window's size (the hack's surface).
  WindowHandle sizedWindow = 0;
  // The full-screen run asks whether the display is powered down.
  bool watchesDisplayPower = false;
  // Hidden and Shown messages of these windows stop and resume the drawing (the hack).
  WindowHandle watched[2] = {0, 0};
};

// What every run does first: seeds the generator from the counter, sets the tick length and
// has termination signals post Quit (those who stop a run with a signal get the display back
// as a key would leave it).
void prepareRun();

// A run of the same user's already showing elsewhere keeps the music and the gamma ramp; this
// run then draws only (the settings change for this run only).
void settleOwnership();

// The loop, from the end of loading until Quit or an ending input.
void runLoop(const RunShape& shape);
