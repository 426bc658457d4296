#pragma once
// A modal message with an OK button, for the few failures the user is told about.

// Writes "caption: text" on stderr, and, when windows are allowed and a display is there,
// also shows the text in a small modal window until the user dismisses it.
void showMessageBox(const char* text, const char* caption);

// Whether showMessageBox may open a window. Off until the program turns it on, so that tests
// and tools never block on a window that nobody will close.
void allowMessageBoxWindows(bool allowed);
