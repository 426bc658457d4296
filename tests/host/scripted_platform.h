#pragma once
// A stand-in for the platform services and the run's content that follows a script and
// records what the host asks of it, so the rules of the run can be checked step by step.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/display_devices.h"
#include "platform/display_mode.h"
#include "platform/gl_context.h"
#include "platform/window.h"

namespace scripted {

// One answer of peekMessage: a message, or nothing pending (a frame follows).
struct Step {
  std::optional<WindowMessage> message;
};

struct Platform {
  // What peekMessage returns, in order; when it runs out a Quit ends the run.
  std::deque<Step> script;
  bool scriptRanOut = false;

  // Every call, in order, e.g. "create MyWindow 0 0 1024 768", "frame", "cursor 512 384".
  std::vector<std::string> log;
  // dt of each frame, as advanceObjects received it.
  std::vector<float> frameTimes;

  std::vector<DisplayDevice> devices;
  // Rectangles (left, top) that no monitor covers.
  std::vector<std::pair<int, int>> uncovered;

  // Counter ticks per second, and the counter; each empty peek adds `idleTicks`.
  std::int64_t frequency = 1000000;
  std::int64_t counter = 0;
  std::int64_t idleTicks = 20000;
  std::int64_t loadingTicks = 0;  // added while the content loads

  bool modeAccepted = true;  // what changeDisplayMode returns
  DisplayMode desktopMode{1280, 1024, 24};
  int failCreateNumber = 0;  // the n-th createWindow (from 1) fails
  int choosePixelFormatResult = 7;
  bool accelerated = false;  // what acceleratedRenderer says
  bool describeSucceeds = true;
  bool contentStarts = true;  // what startContent returns
  // What displayPoweredDown answers, in order; when they run out, false.
  std::deque<bool> powerAnswers;
  bool swapControl = false;  // what swapControlAvailable returns
};

// Resets the stand-in to a fresh state and returns it.
Platform& reset();
Platform& platform();

// Messages for the primary (first created) window, or for `window`.
Step message(WindowMessageType type, int x = 0, int y = 0);
Step messageFor(WindowHandle window, WindowMessageType type);
Step idle();

}  // namespace scripted
