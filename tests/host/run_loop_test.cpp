// The one run loop as the saver and the hack use it, against the scripted platform: the show
// on every monitor, the rest while nobody can see it, and the hack's own ending.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/hack_run.h"
#include "host/monitor_views.h"
#include "host/monitors.h"
#include "host/saver_app.h"
#include "host/saver_run.h"
#include "render/frame_presenter.h"
#include "settings/settings.h"
#include "tests/host/scripted_platform.h"

namespace {

using scripted::idle;
using scripted::message;
using T = WindowMessageType;
using Log = std::vector<std::string>;

DisplayDevice attached(int left, int top, int width, int height) {
  DisplayDevice d;
  d.attachedToDesktop = true;
  d.left = left;
  d.top = top;
  d.width = width;
  d.height = height;
  return d;
}

class RunLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    scripted::reset().devices = {attached(0, 0, 1024, 768), attached(1024, 0, 800, 600)};
    settings = Settings{};
    settings.Width = 1024;
    settings.Height = 768;
    settings.Depth = 32;
    setFramePresenter([](void*) { presentMonitorViews(); }, nullptr);
  }

  scripted::Platform& fake() { return scripted::platform(); }

  void runSaverWith(std::initializer_list<scripted::Step> steps) {
    fake().script.assign(steps.begin(), steps.end());
    enumerateMonitors(app);
    runSaver(app);
  }

  // The entries from `first` (exclusive) to the shutdown.
  Log after(const std::string& first) {
    const Log& log = fake().log;
    auto begin = std::find(log.begin(), log.end(), first);
    auto end = std::find(log.begin(), log.end(), "stop content");
    return begin == log.end() ? Log{} : Log(begin + 1, end);
  }

  long count(const std::string& entry) {
    return std::count(fake().log.begin(), fake().log.end(), entry);
  }

  SaverApp app;
};

TEST_F(RunLoop, MonitorsDecidesWhichWindowsAreDrawnEachInTurnThePrimaryLast) {
  // Window 100 (dc 101) is the primary, 101 (dc 102) the second monitor's.
  const struct {
    int monitors;
    Log setUp;  // between the content's start and the windows being shown
    Log frame;  // one frame
  } cases[] = {
      {0, {}, {"power?", "frame", "draw", "swap 101"}},
      {1,
       {"get dc", "set format 102 7", "current 101 55"},
       {"power?", "frame", "current 102 55", "draw", "swap 102", "current 101 55", "draw",
        "swap 101"}},
      {2,
       {"get dc", "set format 102 7", "current 101 55"},
       {"power?", "frame", "current 102 55", "draw", "swap 102", "current 101 55", "draw",
        "swap 101"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.monitors);
    SetUp();
    settings.Monitors = c.monitors;
    runSaverWith({idle(), message(T::KeyDown)});
    Log setUp = after("start content");
    setUp.resize(std::find(setUp.begin(), setUp.end(), "show 100 1") - setUp.begin());
    EXPECT_EQ(setUp, c.setUp);
    Log frame = after("cursor 512 384");
    frame.resize(std::find(frame.begin(), frame.end(), "dispatch") - frame.begin());
    EXPECT_EQ(frame, c.frame);
    // Back to one view for whatever draws next.
    EXPECT_EQ(count("release dc 102"), c.monitors == 0 ? 0 : 1);
  }
}

TEST_F(RunLoop, OnlyTheDriversWaitOfThePrimaryRemainsWithVSync) {
  fake().swapControl = true;
  settings.Monitors = 1;
  runSaverWith({message(T::KeyDown)});
  Log setUp = after("set format 102 7");
  setUp.resize(2);
  EXPECT_EQ(setUp, (Log{"current 102 55", "interval 0"}));
}

TEST_F(RunLoop, RestsWhileTheDisplayIsPoweredDownAndResumesWhereItWas) {
  fake().devices.resize(1);
  settings.EnableMusic = true;
  fake().idleTicks = fake().frequency;  // a second per pass: every pass asks
  fake().powerAnswers = {false, true, true, false};
  runSaverWith({idle(), idle(), idle(), idle(), message(T::KeyDown)});
  EXPECT_EQ(after("cursor 512 384"), (Log{"power?", "frame", "draw", "swap 101", "power?", "rest",
                                          "wait 1000", "power?", "wait 1000", "power?", "wake",
                                          "frame", "draw", "swap 101", "dispatch", "quit posted"}));
  // Three seconds asleep are no step of the show.
  ASSERT_EQ(fake().frameTimes.size(), 2u);
  EXPECT_FLOAT_EQ(fake().frameTimes[1], 0.0f);
}

TEST_F(RunLoop, AsksAboutTheDisplayAboutOnceASecond) {
  fake().devices.resize(1);
  fake().idleTicks = fake().frequency / 4;
  runSaverWith({idle(), idle(), idle(), idle(), idle(), idle(), idle(), idle(), idle(),
                message(T::KeyDown)});
  EXPECT_EQ(count("frame"), 9);
  EXPECT_EQ(count("power?"), 3);  // at the first frame, a second later, two seconds later
}

class HackLoop : public RunLoop {
 protected:
  // The hack in a window of its own: window 100 is that window, 101 the surface (dc 102).
  int runHackWith(std::initializer_list<scripted::Step> steps) {
    fake().script.assign(steps.begin(), steps.end());
    HackOptions options;
    options.target = HackTarget::OwnWindow;
    return runHack(app, options);
  }
};

TEST_F(HackLoop, IgnoresInputAndDrawsNothingWhileItsWindowIsHiddenOrCovered) {
  using scripted::messageFor;
  EXPECT_EQ(runHackWith({messageFor(101, T::KeyDown), idle(), messageFor(100, T::Hidden), idle(),
                         messageFor(100, T::Shown), messageFor(101, T::Hidden), idle(),
                         messageFor(101, T::Shown), idle(), messageFor(100, T::Close), idle()}),
            0);
  EXPECT_EQ(after("load content"), (Log{"dispatch", "frame", "draw", "swap 102", "dispatch", "rest",
                                        "wait 1000", "dispatch", "dispatch", "wait 1000",
                                        "dispatch", "wake", "frame", "draw", "swap 102"}));
  EXPECT_EQ(count("power?"), 0);  // the daemon's business
  EXPECT_FALSE(fake().scriptRanOut);
  EXPECT_EQ(count("destroy ordinary 100"), 1);
}

}  // namespace
