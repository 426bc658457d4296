// The rules of the saver run and its loop, against a scripted platform. The host names its
// platform services and the show's five operations only by their headers; this test links
// scripted ones where the program links the X11 services and the show.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/monitors.h"
#include "host/pixel_format.h"
#include "platform/renderer_kind.h"
#include "host/saver_app.h"
#include "host/saver_run.h"
#include "host/saver_state.h"
#include "settings/settings.h"
#include "tests/host/scripted_platform.h"

namespace {

using scripted::idle;
using scripted::message;
using T = WindowMessageType;

DisplayDevice attached(int left, int top, int width, int height, bool primary = false) {
  DisplayDevice d;
  d.attachedToDesktop = true;
  d.primary = primary;
  d.left = left;
  d.top = top;
  d.width = width;
  d.height = height;
  return d;
}

class SaverRun : public ::testing::Test {
 protected:
  void SetUp() override {
    scripted::reset().devices = {attached(0, 0, 1024, 768, true)};
    settings = Settings{};
    settings.Width = 1024;
    settings.Height = 768;
    settings.Depth = 32;
  }

  scripted::Platform& fake() { return scripted::platform(); }

  bool run(std::initializer_list<scripted::Step> steps) {
    fake().script.assign(steps.begin(), steps.end());
    enumerateMonitors(app);
    return runSaver(app);
  }

  // The log entries of the loop: from the end of loading to the start of the shutdown.
  std::vector<std::string> loopLog() {
    const auto& log = fake().log;
    auto begin = std::find(log.begin(), log.end(), "cursor 512 384");
    auto end = std::find(log.begin(), log.end(), "stop content");
    return begin == log.end() ? std::vector<std::string>{}
                              : std::vector<std::string>(begin + 1, end);
  }

  long count(const std::string& entry) {
    return std::count(fake().log.begin(), fake().log.end(), entry);
  }

  SaverApp app;
};

TEST_F(SaverRun, HandlesOneMessagePerPassAndMakesFramesOnlyWhenNoneIsPending) {
  EXPECT_TRUE(run({message(T::Other), message(T::Other), idle(), message(T::Other), idle(), idle(),
                   message(T::KeyDown)}));
  EXPECT_EQ(loopLog(), (std::vector<std::string>{"dispatch", "dispatch", "power?", "frame", "draw",
                                                 "dispatch", "frame", "draw", "frame", "draw",
                                                 "dispatch", "quit posted"}));
  EXPECT_FALSE(fake().scriptRanOut);
}

TEST_F(SaverRun, KeysLeftAndRightButtonsAndClosingEndTheRunOtherInputDoesNot) {
  struct Case {
    T type;
    bool ends;
  };
  for (Case c :
       {Case{T::KeyDown, true}, Case{T::LeftButtonDown, true}, Case{T::RightButtonDown, true},
        Case{T::Close, true}, Case{T::Destroy, true}, Case{T::MiddleButtonDown, false},
        Case{T::MouseWheel, false}, Case{T::SystemKeyDown, false}, Case{T::Other, false}}) {
    SCOPED_TRACE(static_cast<int>(c.type));
    SetUp();
    run({message(c.type), idle(), idle()});
    EXPECT_EQ(count("quit posted"), c.ends ? 1 : 0);
    // A quit ends the loop before the frames that were still scripted.
    EXPECT_EQ(count("frame"), c.ends ? 0 : 2);
    EXPECT_EQ(fake().scriptRanOut, !c.ends);
  }
}

TEST_F(SaverRun, MouseTravelToTheRightEndsTheRunAfterDrawingThatFrame) {
  settings.MouseExit = true;
  // +10 px (3.0), +10 px (6.0), a frame without movement, +2 px (6.6), +4 px (7.8 > 7).
  run({message(T::MouseMove, 522, 384), idle(), message(T::MouseMove, 522, 384), idle(), idle(),
       message(T::MouseMove, 514, 384), idle(), message(T::MouseMove, 516, 384), idle(), idle(),
       message(T::KeyDown)});
  EXPECT_EQ(count("frame"), 5);
  EXPECT_EQ(count("draw"), 5);
  EXPECT_EQ(loopLog().back(), "draw");
  EXPECT_EQ(fake().script.size(), 2u);  // nothing was taken after the exit frame
  EXPECT_EQ(count("quit posted"), 0);
  // Re-centred once at the start and after each of the four moves.
  EXPECT_EQ(count("cursor 512 384"), 5);
}

TEST_F(SaverRun, MouseTravelIsIgnoredWhenMouseExitIsClear) {
  run({message(T::MouseMove, 612, 484), idle(), message(T::MouseMove, 612, 484), idle(),
       message(T::KeyDown)});
  EXPECT_EQ(count("frame"), 2);
  EXPECT_EQ(count("quit posted"), 1);
}

TEST_F(SaverRun, MovementLeftOrUpNeverEndsTheRunAndIsOwedBack) {
  settings.MouseExit = true;
  // -100 px left and up (-60), then 30 px right (+9): still far below the limit.
  run({message(T::MouseMove, 412, 384), idle(), message(T::MouseMove, 512, 284), idle(),
       message(T::MouseMove, 412, 284), idle(), message(T::MouseMove, 542, 384), idle(),
       message(T::KeyDown)});
  EXPECT_EQ(count("frame"), 4);
  EXPECT_EQ(count("quit posted"), 1);
}

TEST_F(SaverRun, MovementDownCountsLikeMovementRight) {
  settings.MouseExit = true;
  run({message(T::MouseMove, 512, 414), idle(), idle(), message(T::KeyDown)});
  EXPECT_EQ(count("frame"), 1);
  EXPECT_EQ(count("quit posted"), 0);
}

TEST_F(SaverRun, OnlyTheLastMoveBeforeAFrameCounts) {
  settings.MouseExit = true;
  run({message(T::MouseMove, 612, 384), message(T::MouseMove, 512, 384), idle(), idle(),
       message(T::KeyDown)});
  EXPECT_EQ(count("frame"), 2);
  EXPECT_EQ(count("quit posted"), 1);
  EXPECT_EQ(count("cursor 512 384"), 1);  // nothing pending, nothing to re-centre
}

TEST_F(SaverRun, MouseOffsetsAreMeasuredFromTheCentreOfAWindowOffTheOrigin) {
  settings.MouseExit = true;
  fake().devices = {attached(1280, 100, 1024, 768, true)};
  // Client (532, 384) is 20 px right of the centre (6.0): no exit; a further 4 px (7.2) is.
  run({message(T::MouseMove, 532, 384), idle(), message(T::MouseMove, 516, 384), idle(), idle(),
       message(T::KeyDown)});
  EXPECT_EQ(count("frame"), 2);
  EXPECT_EQ(count("cursor 1792 484"), 3);
}

TEST_F(SaverRun, FirstFrameTimeCountsFromTheEndOfLoading) {
  fake().loadingTicks = 5000000;  // five seconds of loading
  run({idle(), idle(), message(T::KeyDown)});
  ASSERT_EQ(fake().frameTimes.size(), 2u);
  EXPECT_FLOAT_EQ(fake().frameTimes[0], 0.02f);
  EXPECT_FLOAT_EQ(fake().frameTimes[1], 0.02f);
}

TEST_F(SaverRun, StartsAndShutsDownInOrder) {
  fake().devices = {attached(0, 0, 1024, 768, true), DisplayDevice{}, attached(1024, 0, 800, 600)};
  app.showCommand = 5;
  run({message(T::KeyDown)});
  std::vector<std::string> expected = {"signals",
                                       "register MyWindow",
                                       "register FakeMonitor",
                                       "mode 1024x768x32",
                                       "hide cursor",
                                       "create MyWindow 0 0 1024 768",
                                       "get dc",
                                       "choose format 32 24 8 double",
                                       "set format 101 7",
                                       "create context",
                                       "current 101 55",
                                       "create FakeMonitor 1024 0 800 600 visible",
                                       "hide cursor",
                                       "start content",
                                       "show 100 5",
                                       "show 101 5",
                                       "focus 100",
                                       "load content",
                                       "cursor 512 384",
                                       "dispatch",
                                       "quit posted",
                                       "stop content",
                                       "restore mode",
                                       "current 0 0",
                                       "delete context 55",
                                       "release dc 101",
                                       "show cursor",
                                       "close 100",
                                       "close 101",
                                       "unregister MyWindow",
                                       "unregister FakeMonitor",
                                       "show cursor"};
  EXPECT_EQ(fake().log, expected);
  EXPECT_EQ(primaryWindow, 0u);
  EXPECT_EQ(renderContext, 0u);
}

TEST_F(SaverRun, AModeTheDisplayRefusesGivesAWindowOfTheDesktopsSize) {
  fake().devices = {attached(0, 0, 1280, 1024, true)};
  fake().modeAccepted = false;
  run({message(T::KeyDown)});
  EXPECT_EQ(count("mode 1024x768x32"), 1);
  EXPECT_EQ(count("create MyWindow 0 0 1280 1024"), 1);
}

TEST_F(SaverRun, WithoutAUsableMonitorTheRunEndsBeforeAnyWindow) {
  fake().devices = {DisplayDevice{}, DisplayDevice{}};
  EXPECT_FALSE(run({message(T::KeyDown)}));
  EXPECT_EQ(count("start content"), 0);
  EXPECT_EQ(count("stop content"), 0);
  for (const std::string& entry : fake().log) EXPECT_NE(entry.rfind("create ", 0), 0u) << entry;
}

TEST_F(SaverRun, AWindowThatCannotBeMadeEndsTheRunAtOnce) {
  fake().devices = {attached(0, 0, 1024, 768, true), attached(1024, 0, 800, 600),
                    attached(1824, 0, 800, 600)};
  fake().failCreateNumber = 2;
  EXPECT_FALSE(run({message(T::KeyDown)}));
  EXPECT_EQ(count("create FakeMonitor 1824 0 800 600 visible"), 0);
  EXPECT_EQ(count("start content"), 0);
  EXPECT_EQ(count("restore mode"), 0);
}

TEST_F(SaverRun, ContentThatCannotStartEndsTheRunBeforeShowingAndShutsDownAsUsual) {
  fake().contentStarts = false;
  EXPECT_TRUE(run({idle(), message(T::KeyDown)}));
  for (const char* skipped : {"show 100 1", "load content", "frame"})
    EXPECT_EQ(count(skipped), 0) << skipped;
  for (const char* done : {"stop content", "restore mode", "close 100"})
    EXPECT_EQ(count(done), 1) << done;
}

TEST(Monitors, RecordsDevicesSkippingMirrorsAndKeepingDetachedOnes) {
  scripted::Platform& fake = scripted::reset();
  DisplayDevice mirror = attached(0, 0, 1280, 1024);
  mirror.mirroring = true;
  fake.devices = {attached(0, 0, 1280, 1024, true), mirror, DisplayDevice{},
                  attached(1280, 0, 1024, 768), attached(-800, 0, 800, 600)};
  fake.uncovered = {{-800, 0}};
  SaverApp app;
  enumerateMonitors(app);
  ASSERT_EQ(app.monitorCount, 4);
  auto bounds = [&](int i) {
    const MonitorBounds& b = app.monitors[i].bounds;
    return std::vector<int>{b.left, b.top, b.right, b.bottom};
  };
  EXPECT_EQ(bounds(0), (std::vector<int>{0, 0, 1280, 1024}));
  EXPECT_NE(app.monitors[0].monitor, 0u);
  EXPECT_EQ(app.monitors[1].monitor, 0u);  // not attached: a record without a monitor
  EXPECT_EQ(bounds(1), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(bounds(2), (std::vector<int>{1280, 0, 2304, 768}));
  EXPECT_NE(app.monitors[2].monitor, 0u);
  EXPECT_EQ(app.monitors[3].monitor, 0u);  // no monitor covers it
}

TEST(Monitors, KeepsAtMostNineRecords) {
  scripted::Platform& fake = scripted::reset();
  for (int i = 0; i < 12; ++i) fake.devices.push_back(attached(i * 100, 0, 100, 100, i == 0));
  SaverApp app;
  app.monitorCount = 3;
  enumerateMonitors(app);
  EXPECT_EQ(app.monitorCount, 9);
  EXPECT_EQ(app.monitors[8].bounds.left, 800);
}

TEST(PixelFormat, FallsBackToTheFirstFormatWhenNoneMatches) {
  scripted::Platform& fake = scripted::reset();
  primaryDC = 42;
  fake.choosePixelFormatResult = 0;
  EXPECT_TRUE(setupPixelFormat());
  EXPECT_EQ(fake.log, (std::vector<std::string>{"choose format 32 24 8 double", "describe format 1",
                                                "set format 42 1"}));

  scripted::reset().choosePixelFormatResult = 0;
  scripted::platform().describeSucceeds = false;
  EXPECT_FALSE(setupPixelFormat());
  EXPECT_EQ(scripted::platform().log.back(), "describe format 1");
}

TEST(PixelFormat, FourSamplesOnlyWhereAGraphicsCardDraws) {
  scripted::reset().accelerated = true;
  primaryDC = 42;
  EXPECT_TRUE(setupPixelFormat());
  EXPECT_EQ(scripted::platform().log.front(), "choose format 32 24 8 double x4");
  // Software renderers get the single sample asked for above.
  EXPECT_FALSE(isSoftwareRenderer("AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6)"));
  EXPECT_FALSE(isSoftwareRenderer("NVIDIA GeForce GTX 1060/PCIe/SSE2"));
  EXPECT_FALSE(isSoftwareRenderer("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
  EXPECT_TRUE(isSoftwareRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
  EXPECT_TRUE(isSoftwareRenderer("softpipe"));
  EXPECT_TRUE(isSoftwareRenderer("GDI Generic"));
  EXPECT_TRUE(isSoftwareRenderer(nullptr));
}

}  // namespace
