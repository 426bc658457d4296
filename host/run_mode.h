#pragma once
// The one request a process of the saver serves.

enum class RunMode : int {
  Configure = 0,  // the configuration dialog
  Preview = 1,    // the small picture inside a window of the caller
  Saver = 2,      // the full-screen run
  Test = 3,       // exactly as Saver
};
