#pragma once
// Where a finished frame goes: the saver swaps the window's buffers, the recorder reads the
// pixels. The frame composition and the loading screen present through this one seam and
// never name a window or a device context.

using FramePresenter = void (*)(void* user);

// Installs the presenter; null restores the default, which only flushes the GL pipeline.
void setFramePresenter(FramePresenter presenter, void* user);

// Hands the finished back buffer to the presenter.
void presentFrame();
