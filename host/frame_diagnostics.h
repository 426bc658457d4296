#pragma once
// Checks a run makes on its frames when asked to through the environment, for tests and for
// hunting faults; without the variables they cost one branch per frame.
//   PLASMORA_CHECK_GL=1                  glGetError after every frame; each error is reported
//                                        on stderr as "plasmora: GL error 0x... in frame N".
// A test build of the program (never the released one) adds a hook that runs after every
// frame: the end-to-end tests' crash trigger (host/test_crash_trigger.cpp).
#include <cstdint>

extern void (*frameDrawnHook)(std::uint64_t framesDrawn);

class FrameDiagnostics {
 public:
  FrameDiagnostics();
  // After each frame has been drawn and presented.
  void frameDrawn();

 private:
  bool checkGl_ = false;
  std::uint64_t frames_ = 0;
};
