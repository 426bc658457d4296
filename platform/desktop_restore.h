#pragma once
// Putting the display back after a run that could not do it itself.
//
// From the moment a run changes the display's mode or gamma ramp until it puts them back, a
// record of what they were lies in the user's runtime folder. While it does, a crash of the
// process (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT) starts a restorer before the process dies
// of the signal, and a lost connection to the X server is answered by a restore through a
// fresh connection and an exit with status 0. Only SIGKILL leaves the record behind; then
// `plasmora --restore-desktop` puts the display back from it.

// The option that runs the restore and nothing else.
inline constexpr const char* restoreDesktopOption = "--restore-desktop";

// Restores the display from the record of a run on this display and removes the record.
// True when there was a record and it was applied (or there was none: nothing to do).
bool restoreRecordedDesktop();
