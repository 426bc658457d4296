// The saver's message sink: the text always reaches stderr; a window opens when a display is
// there, and then waits until OK is clicked.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/x11/message_box_window.h"
#include "tests/support/command_run.h"
#include "tests/support/x_server.h"

namespace {

using namespace std::chrono_literals;

TEST(MessageBoxWindow, WithoutADisplayNothingWaits) {
  const char* saved = std::getenv("DISPLAY");
  const std::string display = saved ? saved : "";
  unsetenv("DISPLAY");
  testing::internal::CaptureStderr();
  showMessageWindow("ARCH:Can't load JPG file: x.jpg", "Error");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: ARCH:Can't load JPG file: x.jpg\n");
  if (saved) setenv("DISPLAY", display.c_str(), 1);
}

std::string run(const std::string& command) { return runCommand(command).output; }

TEST(MessageBoxWindow, AWindowWaitsUntilOkIsClicked) {
  if (!haveProgram("Xvfb") || !haveProgram("xdotool"))
    GTEST_SKIP() << "Xvfb and xdotool are needed to click the box";
  XServer xvfb;  // sets DISPLAY
  ASSERT_TRUE(xvfb.ok()) << "Xvfb did not start";

  std::atomic<bool> closed{false};
  std::thread box([&closed] {
    showMessageWindow("Unsupported image depth.", "TGA");
    closed = true;
  });
  const std::string window = run("timeout 10 xdotool search --sync --name '^TGA$' | head -n 1");
  std::this_thread::sleep_for(200ms);
  EXPECT_FALSE(closed) << "the box waits for the user";
  EXPECT_FALSE(window.empty()) << "no window titled TGA appeared";
  const std::string id = window.substr(0, window.find('\n'));
  if (!id.empty()) {
    // A click beside the button leaves the box open; a click on OK closes it.
    run("xdotool mousemove --window " + id + " 20 20 click 1");
    std::this_thread::sleep_for(200ms);
    EXPECT_FALSE(closed);
    run("xdotool mousemove --window " + id + " 180 80 click 1");
    for (int i = 0; i < 100 && !closed; ++i) std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(closed) << "OK did not close the box";
  }
  if (closed) {
    box.join();
  } else {
    box.detach();  // the server goes with the fixture; the thread is left to the process exit
  }
  unsetenv("DISPLAY");
}

}  // namespace
