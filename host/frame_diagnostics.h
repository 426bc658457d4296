#pragma once
// Checks a run makes on its frames when asked to through the environment, for tests and for
// hunting faults; without the variables they cost one branch per frame.
//   PLASMORA_CHECK_GL=1                  glGetError after every frame; each error is reported
//                                        on stderr as "plasmora: GL error 0x... in frame N".
//   PLASMORA_TEST_CRASH=segv|bus|fpe|abort  the run dies of that signal a few frames in, as a
//                                        fault in the frame loop would (tests of the restore;
//                                        not on Windows).
#include <cstdint>

class FrameDiagnostics {
 public:
  FrameDiagnostics();
  // After each frame has been drawn and presented.
  void frameDrawn();

 private:
  bool checkGl_ = false;
  int crashSignal_ = 0;
  std::uint64_t frames_ = 0;
};
