#pragma once
// The saver's message sink on Windows: the message on stderr as printMessage writes it, then
// the system's modal message box with the text, the caption and an OK button. The box stays
// above every window, the saver's own topmost ones included, so it never waits unseen.
void showMessageWindow(const char* text, const char* caption);
