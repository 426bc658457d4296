#pragma once
// The saver's message sink: the message on stderr as printMessage writes it, then, when a
// display opens, the text in a small modal window until the user dismisses it. The box is
// override-redirect like the saver's own windows, so it never opens unseen beneath them; a
// click on OK always closes it, and Return, Escape or space do when nobody else holds the
// keyboard.
void showMessageWindow(const char* text, const char* caption);
