// The real saver binary under a private X server, driven with real input.
#include "platform/gamma_ramp.h"
#include "tests/host/saver_x11_fixture.h"

namespace {

TEST_F(SaverX11, KeyEndsTheRunAndTheCursorComesBack) {
  startSaver();
  EXPECT_EQ(geometry(primary), "1280x1024+0+0");
  EXPECT_TRUE(cursorIsBlank(display()));
  // The loading picture or the show is on screen.
  EXPECT_FALSE(rootAreaIsBlack(display(), 0, 0, 1280, 1024));
  input("key a");
  EXPECT_EQ(exitStatus(), 0);
  EXPECT_FALSE(cursorIsBlank(display()));
  EXPECT_TRUE(windowsTitled(display(), "Plasmora").empty());
}

TEST_F(SaverX11, TestModeRunsLikeTheSaver) {
  startSaver("/t");
  input("key space");
  EXPECT_EQ(exitStatus(), 0);
}

TEST_F(SaverX11, LeftAndRightClicksEndTheRun) {
  for (int button : {1, 3}) {
    SCOPED_TRACE(button);
    startSaver();
    input("click " + std::to_string(button));
    EXPECT_EQ(exitStatus(), 0);
  }
}

TEST_F(SaverX11, MiddleButtonWheelAndSystemKeysDoNotEndTheRun) {
  startSaver();
  input("click 2");
  input("click 4");
  input("click 5");
  input("key alt+F4");
  input("key F10");
  input("key alt+x");
  EXPECT_TRUE(stillRunningAfterInput());
  input("key Escape");
  EXPECT_EQ(exitStatus(), 0);
}

TEST_F(SaverX11, ClosingOrDestroyingThePrimaryWindowEndsTheRun) {
  startSaver();
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = primary.window;
  close.xclient.message_type = XInternAtom(display(), "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(display(), "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(display(), primary.window, False, NoEventMask, &close);
  XSync(display(), False);
  EXPECT_EQ(exitStatus(), 0);

  startSaver();
  XDestroyWindow(display(), primary.window);
  XSync(display(), False);
  EXPECT_EQ(exitStatus(), 0);
  EXPECT_FALSE(cursorIsBlank(display()));
}

TEST_F(SaverX11, TerminationSignalRestoresLikeAKey) {
  startSaver();
  ASSERT_TRUE(cursorIsBlank(display()));
  kill(saver, SIGTERM);
  EXPECT_EQ(exitStatus(), 0);
  EXPECT_FALSE(cursorIsBlank(display()));
  EXPECT_TRUE(windowsTitled(display(), "Plasmora").empty());
}

TEST_F(SaverX11, MouseMovementIsIgnoredWithoutMouseExit) {
  writeSettings("MouseExit=0\n");
  startSaver();
  for (int i = 0; i < 4; ++i) input("mousemove_relative 30 30");
  EXPECT_TRUE(stillRunningAfterInput());
  input("key Return");
  EXPECT_EQ(exitStatus(), 0);
}

TEST_F(SaverX11, MouseExitOnlyForMovementRightOrDown) {
  writeSettings("MouseExit=1\n");
  startSaver();
  for (int i = 0; i < 3; ++i) {
    input("mousemove_relative -- -40 0");
    input("mousemove_relative -- 0 -40");
  }
  EXPECT_TRUE(stillRunningAfterInput());
  input("key q");
  ASSERT_EQ(exitStatus(), 0);

  startSaver();
  input("mousemove_relative 30 0");
  EXPECT_EQ(exitStatus(), 0);
}

TEST_F(SaverX11, DisplayModeIsSwitchedForTheRunAndRestored) {
  // A mode the output offers besides its own.
  server->run("xrandr --newmode 1024x768_test 63.5 1024 1072 1176 1328 768 771 775 798");
  ASSERT_TRUE(server->run("xrandr --addmode screen 1024x768_test") ||
              server->run("xrandr | grep -q 1024x768_test"));
  writeSettings("UseDesktop=0\nWidth=1024\nHeight=768\nDepth=32\n");
  for (bool bySignal : {false, true}) {
    SCOPED_TRACE(bySignal ? "SIGTERM" : "key");
    startSaver();
    EXPECT_EQ(rootSize(display()), "1024x768");
    EXPECT_EQ(geometry(primary), "1024x768+0+0");
    if (bySignal)
      kill(saver, SIGINT);
    else
      input("key a");
    EXPECT_EQ(exitStatus(), 0);
    EXPECT_EQ(rootSize(display()), "1280x1024");
    EXPECT_TRUE(server->run("xrandr | grep -q 'screen connected 1280x1024+0+0'"));
  }
}

TEST_F(SaverX11, UnofferedModeLeavesTheDesktopModeAndCoversTheMonitor) {
  writeSettings("UseDesktop=0\nWidth=800\nHeight=600\nDepth=32\n");
  startSaver();
  EXPECT_EQ(rootSize(display()), "1280x1024");
  // The window covers the monitor in the mode it kept, rather than a corner of it.
  EXPECT_EQ(geometry(primary), "1280x1024+0+0");
  input("key a");
  EXPECT_EQ(exitStatus(), 0);
}

TEST_F(SaverX11, TwoMonitorsGetAGlWindowAndABlackWindow) {
  struct RemoveMonitors {
    XServer* server;
    ~RemoveMonitors() {
      server->run("xrandr --delmonitor LEFT");
      server->run("xrandr --delmonitor RIGHT");
    }
  } removeMonitors{server};
  ASSERT_TRUE(server->run("xrandr --setmonitor LEFT 640/170x1024/270+0+0 screen"));
  ASSERT_TRUE(server->run("xrandr --setmonitor RIGHT 640/170x1024/270+640+0 none"));
  startSaver();
  std::vector<WindowInfo> windows = windowsTitled(display(), "Plasmora");
  ASSERT_EQ(windows.size(), 2u);
  const WindowInfo& blank = windows[0].window == primary.window ? windows[1] : windows[0];
  EXPECT_EQ(geometry(primary), "640x1024+0+0");
  ASSERT_EQ(primary.children.size(), 1u);
  EXPECT_TRUE(windowCanRenderGl(display(), primary.children[0]));
  EXPECT_EQ(geometry(blank), "640x1024+640+0");
  EXPECT_TRUE(blank.children.empty());
  EXPECT_FALSE(rootAreaIsBlack(display(), 0, 0, 640, 1024));
  EXPECT_TRUE(rootAreaIsBlack(display(), 640, 0, 640, 1024));
  // The blank window takes no input: a click on it leaves the run going, and it does not
  // pass through to the root window, where a desktop would open its menu.
  Window root = DefaultRootWindow(display());
  XSelectInput(display(), root, ButtonPressMask | ButtonReleaseMask);
  input("mousemove 960 512 click 1");
  EXPECT_TRUE(stillRunningAfterInput());
  XSync(display(), False);
  XEvent event;
  EXPECT_FALSE(XCheckWindowEvent(display(), root, ButtonPressMask | ButtonReleaseMask, &event));
  XSelectInput(display(), root, NoEventMask);
  input("key a");
  EXPECT_EQ(exitStatus(), 0);
}

TEST_F(SaverX11, GammaRampReachesTheDisplay) {
  std::uint16_t red[256], green[256], blue[256];
  for (int i = 0; i < 256; ++i) {
    red[i] = static_cast<std::uint16_t>(i * 256);
    green[i] = static_cast<std::uint16_t>(65535 - i * 256);
    blue[i] = static_cast<std::uint16_t>(i * 128);
  }
  // The record of the old ramp goes to the test's folder, not the user's.
  setenv("XDG_RUNTIME_DIR", config.c_str(), 1);
  std::vector<std::uint16_t> r0, g0, b0;
  ASSERT_TRUE(primaryGammaRamp(display(), r0, g0, b0));
  ASSERT_TRUE(setDisplayGammaRamp(red, green, blue));
  std::vector<std::uint16_t> r, g, b;
  ASSERT_TRUE(primaryGammaRamp(display(), r, g, b));
  ASSERT_EQ(r.size(), 256u);  // the size Xvfb offers: taken entry for entry
  EXPECT_EQ(r, std::vector<std::uint16_t>(red, red + 256));
  EXPECT_EQ(g, std::vector<std::uint16_t>(green, green + 256));
  EXPECT_EQ(b, std::vector<std::uint16_t>(blue, blue + 256));
  // A second ramp keeps the first one's record of what was there before.
  ASSERT_TRUE(setDisplayGammaRamp(blue, red, green));
  EXPECT_TRUE(restoreDisplayGammaRamp());
  ASSERT_TRUE(primaryGammaRamp(display(), r, g, b));
  EXPECT_EQ(r, r0);
  EXPECT_EQ(b, b0);
  EXPECT_FALSE(restoreDisplayGammaRamp());  // nothing kept any more
}

}  // namespace

#ifndef PLASMORA_TEST_SANITIZED
// The program's own promise, apart from the tests' generous ceilings: a daemon or a session
// that ends a run with SIGTERM gets the desktop back within a second. Only in the normal
// build; a sanitizer build's leak check at exit alone can take longer.
TEST_F(SaverX11, SigtermEndsTheRunWithinASecond) {
  startSaver();
  const auto sent = std::chrono::steady_clock::now();
  kill(saver, SIGTERM);
  EXPECT_EQ(exitStatus(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - sent, 1000ms);
}
#endif
