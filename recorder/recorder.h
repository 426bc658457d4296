#pragma once
// A recording: the show rendered off-screen at a fixed time step of 1 / fps seconds, exactly
// as the saver's run drives it (seed, start, load, then advance and draw every frame), with
// each written frame read back from the framebuffer when the show presents it.
//
// Pictures depend only on the options: the random source is seeded with --seed, the clock is
// simulated, and nothing reads the wall clock; the frame-rate overlay therefore shows the
// recording's own rate (--fps), not how fast this machine drew it. Music never plays in a
// recording, and the loading picture is not recorded (it comes before the show's first frame).
#include "recorder/record_options.h"

// Records as the options say; returns the exit status (0 all written, 1 something failed).
int runRecording(const RecordOptions& options);
