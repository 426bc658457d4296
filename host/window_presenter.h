#pragma once
// How the saver run presents a frame: swap the primary window's buffers. With VSync set and a
// driver that cannot synchronise the swap itself (Xvfb, some software drivers), each frame is
// held back to the display's next refresh by sleeping, so the show neither runs faster than the
// display nor keeps a core busy; a display that reports no refresh rate is paced at 60 Hz.
// Without VSync frames are presented as fast as they are made.

// Installs the presenter for the saver run (see render/frame_presenter.h). The pacing is
// decided at the first frame, once the run's graphics are set up.
void installWindowPresenter();
