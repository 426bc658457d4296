#pragma once
// The X11 side of the desktop record (platform/desktop_restore.h): the record of this
// process, kept on disk while it holds anything, and the restores that read it.
#include <X11/Xlib.h>

#include "platform/x11/desktop_record.h"

// This process's record. After changing it, call desktopRecordChanged().
DesktopRecord& desktopRecord();

// Writes the record to its file (or removes the file when the record is empty). The first
// write also installs the crash handlers that restore from the file.
void desktopRecordChanged();

// Put back a saved mode or saved ramps through `display`.
void restoreCrtcMode(Display* display, const SavedCrtcMode& mode);
void restoreCrtcGamma(Display* display, const SavedCrtcGamma& gamma);

// For a connection that has gone: restores this process's record through a fresh connection.
void restoreDesktopThroughFreshConnection();
