// The message box: the text always reaches stderr; a window opens only when allowed and a
// display is there, and then waits until OK is clicked.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/message_box.h"

namespace {

using namespace std::chrono_literals;

TEST(MessageBox, WritesCaptionAndTextOnStderr) {
  testing::internal::CaptureStderr();
  showMessageBox("Unsupported image depth.", "TGA");
  showMessageBox(nullptr, nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "TGA: Unsupported image depth.\n: \n");
}

TEST(MessageBox, WithoutADisplayNothingWaits) {
  const char* saved = std::getenv("DISPLAY");
  const std::string display = saved ? saved : "";
  unsetenv("DISPLAY");
  allowMessageBoxWindows(true);
  testing::internal::CaptureStderr();
  showMessageBox("ARCH:Can't load JPG file: x.jpg", "Error");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: ARCH:Can't load JPG file: x.jpg\n");
  allowMessageBoxWindows(false);
  if (saved) setenv("DISPLAY", display.c_str(), 1);
}

bool onPath(const char* program) {
  return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string run(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, p)) out += buffer;
    pclose(p);
  }
  return out;
}

// A private X server on a free display number; it dies with the test. -noreset keeps it from
// resetting (and refusing connections for a moment) each time its last client leaves.
class XvfbDisplay {
 public:
  XvfbDisplay() {
    for (int attempt = 0; attempt < 6 && !ready_; ++attempt) {
      name_ = ":" + std::to_string(300 + (getpid() * 7 + attempt * 37) % 600);
      start();
    }
  }
  ~XvfbDisplay() { stop(); }
  bool ready() const { return ready_; }
  const std::string& name() const { return name_; }

 private:
  void start() {
    pid_ = fork();
    if (pid_ == 0) {
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      const int quiet = open("/dev/null", O_WRONLY);
      dup2(quiet, 1);
      dup2(quiet, 2);
      execlp("Xvfb", "Xvfb", name_.c_str(), "-noreset", "-nolisten", "tcp", "-screen", "0", "640x480x24", nullptr);
      _exit(127);
    }
    const std::string probe = "DISPLAY=" + name_ + " xdotool getmouselocation >/dev/null 2>&1";
    for (int i = 0; i < 50; ++i) {
      std::this_thread::sleep_for(100ms);
      // Ours only if it still runs: a server already holding the number makes it exit.
      if (waitpid(pid_, nullptr, WNOHANG) != 0) break;
      if (std::system(probe.c_str()) == 0) {
        ready_ = waitpid(pid_, nullptr, WNOHANG) == 0;
        if (ready_) return;
        break;
      }
    }
    stop();
  }
  void stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
  }

  std::string name_;
  pid_t pid_ = -1;
  bool ready_ = false;
};

TEST(MessageBox, AWindowWaitsUntilOkIsClicked) {
  if (!onPath("Xvfb") || !onPath("xdotool")) GTEST_SKIP() << "Xvfb and xdotool are needed to click the box";
  XvfbDisplay xvfb;
  ASSERT_TRUE(xvfb.ready()) << "Xvfb did not start on " << xvfb.name();
  setenv("DISPLAY", xvfb.name().c_str(), 1);
  allowMessageBoxWindows(true);

  std::atomic<bool> closed{false};
  std::thread box([&closed] {
    showMessageBox("Unsupported image depth.", "TGA");
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
  allowMessageBoxWindows(false);
  unsetenv("DISPLAY");
}

}  // namespace
