#pragma once
// The preview: the run mode in which the screensaver machinery asks for the saver's picture in
// a small window of its own (the number after /p). No 3-D engine runs: one child window
// covers the parent's client area and shows bitmap 112 (155 x 115) at its top-left corner,
// unscaled, on black; a larger parent shows black to the right and below, a smaller one clips
// the picture. The child follows the parent's size, is painted again whenever uncovered, and
// the process ends when the parent (and so the child) is destroyed, or the child is asked to
// close, or a termination signal arrives. Settings are not used.
#include "host/saver_app.h"
#include "platform/window.h"

// The window's class and title.
inline constexpr const char* previewClassName = "SSPreview";
inline constexpr const char* previewTitle = "PreviewWindow";

// Shows the preview inside app.parentWindow until it ends: true. When the window cannot be
// made (no parent number, a parent that does not exist) the message "Cannot creat window!"
// with caption "ERROR" goes to the message sink, and the result is false.
bool runPreview(const SaverApp& app);

// Create: takes the picture; Paint: draws it; Destroy and Close: end the message loop.
long previewWindowProc(const WindowMessage& message);
