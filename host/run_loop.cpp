#include "host/run_loop.h"

#include "host/frame_counter.h"
#include "host/frame_diagnostics.h"
#include "host/frame_timer.h"
#include "host/saver_state.h"
#include "host/saver_window.h"
#include "platform/clock.h"
#include "platform/display_power.h"
#include "platform/message_queue.h"
#include "platform/message_wait.h"
#include "platform/owner_lock.h"
#include "render/math.h"
#include "render/window_projection.h"
#include "settings/settings.h"
#include "show/saver_content.h"

namespace {

// Mouse travel beyond this, right and down counting positive, ends the run when enabled.
constexpr float mouseExitTravel = 7.0f;
// How long a resting loop sleeps at most before it asks about the display again.
constexpr int restWaitMs = 1000;

// Adds a pending offset to the travel and re-centres the cursor so that the next move is
// again measured from the centre.
void consumeMouse(float& pending, float& travel) {
  if (pending == 0.0f) return;
  travel += pending;
  pending = 0.0f;
  centreCursor();
}

bool isWatched(const RunShape& shape, WindowHandle window) {
  return window != 0 && (shape.watched[0] == window || shape.watched[1] == window);
}

}  // namespace

void prepareRun() {
  seedRandom(static_cast<unsigned int>(performanceCounter()));
  secondsPerTick = 1.0 / static_cast<double>(performanceFrequency());
  quitOnTerminationSignals();
}

void settleOwnership() {
  if (!takeOwnership()) {
    settings.EnableMusic = false;
    settings.DefGamma = true;
  }
}

void runLoop(const RunShape& shape) {
  FrameTimer timer;
  FrameDiagnostics diagnostics;
  FrameCounter counter;
  float mouseTravel = 0.0f;
  if (shape.mouseEnds) {
    pendingMouseX = pendingMouseY = 0.0f;
    centreCursor();
  }
  int width = 0, height = 0;
  if (shape.sizedWindow != 0) clientRect(shape.sizedWindow, width, height);
  // Counter ticks between questions about the display's power.
  const std::int64_t powerPollTicks = performanceFrequency();
  std::int64_t nextPowerPoll = performanceCounter();
  bool poweredDown = false;
  bool hidden[2] = {false, false};
  bool resting = false;
  timer.restart();

  for (bool running = true; running;) {
    WindowMessage message;
    if (peekMessage(message)) {
      if (message.type == WindowMessageType::Quit) {
        running = false;
      } else if (shape.endingWindow != 0 && message.window == shape.endingWindow &&
                 (message.type == WindowMessageType::Close ||
                  message.type == WindowMessageType::Destroy)) {
        running = false;
      } else {
        if ((message.type == WindowMessageType::Hidden ||
             message.type == WindowMessageType::Shown) &&
            isWatched(shape, message.window))
          hidden[message.window == shape.watched[0] ? 0 : 1] =
              message.type == WindowMessageType::Hidden;
        dispatchMessage(message);
      }
      continue;
    }
    if (shape.watchesDisplayPower && performanceCounter() >= nextPowerPoll) {
      poweredDown = displayPoweredDown();
      nextPowerPoll = performanceCounter() + powerPollTicks;
    }
    const bool unseen = poweredDown || hidden[0] || hidden[1];
    if (unseen != resting) {
      resting = unseen;
      restContent(resting);
      // The time asleep is no step of the show.
      if (!resting) timer.restart();
    }
    if (resting) {
      waitForMessage(restWaitMs);
      continue;
    }
    const float dt = static_cast<float>(timer.measure());
    timer.restart();
    if (shape.sizedWindow != 0) {
      int nowWidth = width, nowHeight = height;
      if (clientRect(shape.sizedWindow, nowWidth, nowHeight) &&
          (nowWidth != width || nowHeight != height)) {
        width = nowWidth;
        height = nowHeight;
        applyWindowProjection(width, height);
      }
    }
    advanceObjects(dt);
    if (shape.mouseEnds) {
      consumeMouse(pendingMouseX, mouseTravel);
      consumeMouse(pendingMouseY, mouseTravel);
      // The frame in which the travel runs out is still drawn.
      if (settings.MouseExit && mouseTravel > mouseExitTravel) running = false;
    }
    directAndDraw(dt);
    diagnostics.frameDrawn();
    counter.frameDrawn();
  }
}
