// Linked only into the end-to-end tests' build of the program (plasmora-crash-test), never
// into the released one: PLASMORA_TEST_CRASH=segv|bus|fpe|abort makes the run die of that
// signal a few frames in, as a fault in the frame loop would, to test the desktop's restore.
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "host/frame_diagnostics.h"

namespace {

int crashSignal = 0;

void crashAfterFiveFrames(std::uint64_t framesDrawn) {
  if (framesDrawn == 5) std::raise(crashSignal);
}

bool installTrigger() {
  const char* kind = std::getenv("PLASMORA_TEST_CRASH");
  if (kind == nullptr) return false;
  struct Named {
    const char* name;
    int signal;
  };
  for (const Named& n : {Named{"segv", SIGSEGV}, Named{"bus", SIGBUS}, Named{"fpe", SIGFPE},
                         Named{"abort", SIGABRT}})
    if (std::strcmp(kind, n.name) == 0) crashSignal = n.signal;
  if (crashSignal != 0) frameDrawnHook = crashAfterFiveFrames;
  return crashSignal != 0;
}

// Before main: this file is part of the executable itself, so its initialiser always runs.
[[maybe_unused]] const bool installed = installTrigger();

}  // namespace
