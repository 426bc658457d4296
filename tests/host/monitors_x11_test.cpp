// The real program on several monitors (RandR 1.5 monitors splitting one Xvfb screen), under a
// frame cap, and resting while its window is covered: what the screen shows and what the run's
// own frame counter and processor time say.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/host/saver_x11_fixture.h"

namespace {

using Pixels = std::vector<std::uint8_t>;

class MonitorsX11 : public SaverX11 {
 protected:
  void TearDown() override {
    SaverX11::TearDown();
    if (server == nullptr || !server->ok()) return;
    for (const char* name : {"LEFT", "RIGHT"})
      server->run(std::string("xrandr --delmonitor ") + name + " >/dev/null 2>&1");
  }

  // LEFT (the primary) and RIGHT, each as "WxH+X+Y".
  void setMonitors(const std::string& left, const std::string& right) {
    auto geometry = [](const std::string& g) {
      int w = 0, h = 0, x = 0, y = 0;
      std::sscanf(g.c_str(), "%dx%d+%d+%d", &w, &h, &x, &y);
      // Sizes in millimetres at about 96 dots an inch.
      return std::to_string(w) + "/" + std::to_string(w * 254 / 960) + "x" + std::to_string(h) +
             "/" + std::to_string(h * 254 / 960) + "+" + std::to_string(x) + "+" +
             std::to_string(y);
    };
    ASSERT_TRUE(server->run("xrandr --setmonitor LEFT " + geometry(left) + " screen"));
    ASSERT_TRUE(server->run("xrandr --setmonitor RIGHT " + geometry(right) + " none"));
  }

  // Frames drawn so far by the run (PLASMORA_FRAME_COUNT), -1 before its loop.
  long frames() {
    std::ifstream file(countFile);
    long n = -1;
    file >> n;
    return file ? n : -1;
  }
  void countFrames() {
    if (countFile.empty()) {
      countFile = (config / "frames").string();
      environment.emplace_back("PLASMORA_FRAME_COUNT", countFile);
    }
    fs::remove(countFile);  // a count left by the run before
  }
  // Waits until the run has drawn more than `count` frames; false after the ceiling.
  bool framesPass(long count, std::chrono::seconds ceiling = 60s) {
    for (auto end = std::chrono::steady_clock::now() + ceiling;
         std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(50ms))
      if (frames() > count) return true;
    return false;
  }

  // Processor time of the run so far, in seconds (its threads included).
  double processorSeconds() {
    std::ifstream stat("/proc/" + std::to_string(saver) + "/stat");
    std::string line;
    std::getline(stat, line);
    std::stringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    long user = 0, system = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
      if (i == 14) user = std::stol(field);
      if (i == 15) system = std::stol(field);
    }
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
  }

  static bool black(const Pixels& p) {
    return std::all_of(p.begin(), p.end(), [](std::uint8_t v) { return v < 8; });
  }

  std::string countFile;
};

// Summed colour difference between column a of `left` and column b of `right` (both w wide).
double columnDifference(const Pixels& left, int a, const Pixels& right, int b, int w, int h) {
  double sum = 0;
  for (int y = 0; y < h; ++y)
    for (int c = 0; c < 3; ++c)
      sum += std::abs(int(left[(std::size_t(y) * w + a) * 3 + c]) -
                      int(right[(std::size_t(y) * w + b) * 3 + c]));
  return sum / h;
}

TEST_F(MonitorsX11, EveryMonitorShowsTheSameSceneWithTheClockOnlyOnThePrimary) {
  setMonitors("640x1024+0+0", "640x1024+640+0");
  writeSettings("EnableMusic=0\nMonitors=1\nShowClock=1\nShowFPS=0\n");
  countFrames();
  startSaver();
  ASSERT_TRUE(framesPass(0));
  // The two windows show one frame each time both have been swapped; a picture taken between
  // the two swaps shows two frames, so look until one shows a single frame.
  bool same = false, clockOnLeft = false;
  for (int tries = 0; tries < 40 && !same; ++tries) {
    const Pixels left = rootPixels(display(), 0, 0, 640, 1024);
    const Pixels right = rootPixels(display(), 640, 0, 640, 1024);
    ASSERT_FALSE(black(right)) << "the second monitor is black";
    bool outside = true;
    clockOnLeft = false;
    for (int y = 0; y < 1024 && outside; ++y)
      for (int x = 0; x < 640; ++x) {
        const std::size_t i = (std::size_t(y) * 640 + x) * 3;
        if (left[i] == right[i] && left[i + 1] == right[i + 1] && left[i + 2] == right[i + 2])
          continue;
        // The clock hangs from the bottom right corner: 8 digits of 42 units, 60 high.
        if (x >= 640 - 320 && y >= 1024 - 80)
          clockOnLeft = true;
        else
          outside = false;
      }
    same = outside;
  }
  EXPECT_TRUE(same) << "the monitors never showed the same picture outside the clock";
  EXPECT_TRUE(clockOnLeft) << "no clock in the primary's corner";
  input("key a");
  EXPECT_EQ(exitStatus(), 0);
}

TEST_F(MonitorsX11, OneViewAcrossTheMonitorsContinuesOverTheSeam) {
  setMonitors("640x1024+0+0", "640x1024+640+0");
  writeSettings("EnableMusic=0\nMonitors=2\nShowClock=0\nShowFPS=0\n");
  countFrames();
  startSaver();
  ASSERT_TRUE(framesPass(3));
  const Pixels whole = rootPixels(display(), 0, 0, 1280, 1024);
  const Pixels left = rootPixels(display(), 0, 0, 640, 1024);
  const Pixels right = rootPixels(display(), 640, 0, 640, 1024);
  EXPECT_FALSE(black(left));
  EXPECT_FALSE(black(right));
  EXPECT_NE(left, right);
  // Across the seam the picture changes no more than between neighbouring columns nearby.
  const double seam = columnDifference(whole, 639, whole, 640, 1280, 1024);
  double inside = 0;
  for (int x : {630, 634, 645, 649}) inside += columnDifference(whole, x, whole, x + 1, 1280, 1024);
  inside /= 4;
  EXPECT_LT(seam, 3 * inside + 6) << "seam " << seam << ", inside " << inside;
  input("key a");
  EXPECT_EQ(exitStatus(), 0);
}

TEST_F(MonitorsX11, MonitorsOfDifferentSizesAreEachCoveredAsTheModeAsks) {
  setMonitors("800x600+0+0", "480x1024+800+0");
  for (int mode : {0, 1, 2}) {
    SCOPED_TRACE(mode);
    writeSettings("EnableMusic=0\nMonitors=" + std::to_string(mode) + "\n");
    countFrames();
    startSaver();
    ASSERT_TRUE(framesPass(3));
    EXPECT_EQ(geometry(primary), "800x600+0+0");
    EXPECT_FALSE(black(rootPixels(display(), 0, 0, 800, 600)));
    EXPECT_EQ(black(rootPixels(display(), 800, 0, 480, 1024)), mode == 0);
    input("key a");
    EXPECT_EQ(exitStatus(), 0);
  }
}

class HackRestX11 : public MonitorsX11 {
 protected:
  void startHack(const std::string& settingsLines) {
    writeSettings("EnableMusic=0\nVSync=0\n" + settingsLines);
    makeParent(60, 40, 160, 120);
    countFrames();
    launch({"--window-id", std::to_string(parent)});
    ASSERT_TRUE(framesPass(3)) << "the hack did not draw";
  }
  // Frames a second and processor seconds a second over a few seconds.
  void measure(double& rate, double& load) {
    const auto t0 = std::chrono::steady_clock::now();
    const long f0 = frames();
    const double c0 = processorSeconds();
    std::this_thread::sleep_for(3s);  // the span measured, not a wait for an event
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    rate = (frames() - f0) / seconds;
    load = (processorSeconds() - c0) / seconds;
  }
};

TEST_F(HackRestX11, AFrameLimitHoldsTheRateAndSparesTheProcessor) {
  double freeRate = 0, freeLoad = 0, rate = 0, load = 0;
  startHack("");
  measure(freeRate, freeLoad);
  kill(saver, SIGTERM);
  ASSERT_EQ(exitStatus(10000ms), 0);
  // A machine too busy to draw twice the cap cannot show whether the cap holds.
  if (freeRate < 40) GTEST_SKIP() << "only " << freeRate << " frames a second without a cap";
  startHack("FrameLimit=20\n");
  measure(rate, load);
  EXPECT_NEAR(rate, 20.0, 2.0);
  // Sleeping between frames, not spinning: well under the processor time of the free run.
  EXPECT_LT(load, 0.8 * freeLoad) << "capped " << load << ", free " << freeLoad;
  std::printf("frame cap 20: %.1f frames/s at %.0f%% of a core; free: %.1f at %.0f%%\n", rate,
              load * 100, freeRate, freeLoad * 100);
  kill(saver, SIGTERM);
  EXPECT_EQ(exitStatus(10000ms), 0);
}

TEST_F(HackRestX11, ACoveredWindowDrawsNothingUntilItIsUncovered) {
  startHack("");
  XSetWindowAttributes a{};
  a.override_redirect = True;
  a.background_pixel = 0x204060;
  const Window cover =
      XCreateWindow(display(), DefaultRootWindow(display()), 40, 20, 200, 160, 0, CopyFromParent,
                    InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &a);
  XMapRaised(display(), cover);
  XSync(display(), False);
  // The run stops within a frame or two of hearing it is covered. A quiet spell counts only when
  // it is longer than any one frame takes, even a sanitizer build's on a busy machine.
  long still = -1;
  for (auto end = std::chrono::steady_clock::now() + eventCeiling;
       std::chrono::steady_clock::now() < end;) {
    const long before = frames();
    std::this_thread::sleep_for(1500ms * eventSlowdown);
    if (frames() == before) {
      still = before;
      break;
    }
  }
  ASSERT_GE(still, 0) << "frames went on while covered";
  const double c0 = processorSeconds();
  std::this_thread::sleep_for(5s);  // the span measured
  const double used = processorSeconds() - c0;
  EXPECT_EQ(frames(), still);
  EXPECT_LT(used, 0.25) << "processor seconds in 5 s covered";
  std::printf("covered: %.2f processor seconds a minute\n", used * 12);
  XDestroyWindow(display(), cover);
  XSync(display(), False);
  EXPECT_TRUE(framesPass(still, 30s)) << "no frames once uncovered";
  kill(saver, SIGTERM);
  EXPECT_EQ(exitStatus(10000ms), 0);
}

// A server without the power extension (as Xvfb is) never reads as powered down: the
// full-screen run goes on drawing.
TEST_F(MonitorsX11, AServerWithoutDisplayPowerControlKeepsTheShowRunning) {
  ASSERT_FALSE(server->run("xset q | grep -q 'DPMS is Enabled'"));
  writeSettings("EnableMusic=0\n");
  countFrames();
  startSaver();
  ASSERT_TRUE(framesPass(3));
  EXPECT_TRUE(framesPass(frames() + 10, 30s));
  input("key a");
  EXPECT_EQ(exitStatus(), 0);
}

}  // namespace
