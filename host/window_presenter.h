#pragma once
// How the saver run presents a frame: swap the buffers of the windows drawn into
// (host/monitor_views.h). With VSync set and a
// driver that cannot synchronise the swap itself (Xvfb, some software drivers), each frame is
// held back to the display's next refresh by sleeping, so the show neither runs faster than the
// display nor keeps a core busy; a display that reports no refresh rate is paced at 60 Hz.
// Without VSync frames are presented as fast as they are made, unless FrameLimit caps them: the
// run then sleeps to the cap in the same way (with VSync too, when the cap is below the refresh).

// Installs the presenter for the saver run (see render/frame_presenter.h). The pacing is
// decided at the first frame, once the run's graphics are set up.
void installWindowPresenter();
