#pragma once
// The full-screen run: windows on every monitor, the message and frame loop until input
// ends it, and the undoing of every change to the machine.

class SaverApp;

// False when it ended before its loop because no window could be made.
bool runSaver(SaverApp& app);
