// The program as a hack under a private X server: a parent window made here stands in for a
// screensaver daemon's window, and the real program draws into it.
// GoogleTest before Xlib, whose macros clash with its names.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/owner_lock.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"

namespace {

using namespace std::chrono_literals;

const char* const saverPath = PLASMORA_BINARY_DIR "/host/plasmora";
constexpr int parentX = 60, parentY = 40;
constexpr unsigned long grey = 0x808080;

struct Ramp {
  std::vector<std::uint16_t> red, green, blue;
  bool operator==(const Ramp&) const = default;
};

class HackX11 : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (haveProgram("Xvfb")) server = new XServer;
  }
  static void TearDownTestSuite() {
    delete server;
    server = nullptr;
  }
  void SetUp() override {
    if (server == nullptr || !server->ok()) GTEST_SKIP() << "Xvfb is needed";
    // Stored settings that would change the ramp in a full-screen run.
    config.write("quillmoor/plasmora.conf", "EnableMusic=0\nDefGamma=0\nGamma=100\nVSync=1\n");
  }
  void TearDown() override {
    if (hack > 0) {
      kill(hack, SIGKILL);
      waitpid(hack, nullptr, 0);
      hack = -1;
    }
    if (parent != 0) XDestroyWindow(display(), parent);
    parent = 0;
    XSync(display(), False);
  }
  Display* display() const { return server->display(); }

  void makeParent(int width, int height) {
    XSetWindowAttributes a{};
    a.override_redirect = True;
    a.background_pixel = grey;
    parent = XCreateWindow(display(), DefaultRootWindow(display()), parentX, parentY,
                           unsigned(width), unsigned(height), 0, CopyFromParent, InputOutput,
                           CopyFromParent, CWOverrideRedirect | CWBackPixel, &a);
    XMapWindow(display(), parent);
    XSync(display(), False);
  }

  void start(const std::vector<std::string>& arguments, const char* daemonWindow = nullptr) {
    hack = fork();
    if (hack == 0) {
      setenv("XDG_CONFIG_HOME", config.path.c_str(), 1);
      setenv("XDG_RUNTIME_DIR", config.path.c_str(), 1);
      if (daemonWindow != nullptr) setenv("XSCREENSAVER_WINDOW", daemonWindow, 1);
      std::vector<char*> argv{const_cast<char*>(saverPath)};
      for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(saverPath, argv.data());
      _exit(127);
    }
  }

  int exitStatus(std::chrono::milliseconds timeout) {
    for (auto end = std::chrono::steady_clock::now() + timeout;; std::this_thread::sleep_for(5ms)) {
      int status = 0;
      if (waitpid(hack, &status, WNOHANG) == hack) {
        hack = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      if (std::chrono::steady_clock::now() >= end) return -1;
    }
  }

  // Whether the show covers the whole parent: every tenth of it along each edge holds a
  // coloured pixel (neither the black of an empty surface nor the parent's grey).
  bool showFillsParent(int width, int height) {
    for (auto end = std::chrono::steady_clock::now() + 15s; std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(100ms)) {
      const std::vector<std::uint8_t> shown =
          rootPixels(display(), parentX, parentY, width, height);
      if (shown.empty()) continue;
      auto coloured = [&](int x0, int y0, int x1, int y1) {
        for (int y = y0; y < y1; ++y)
          for (int x = x0; x < x1; ++x) {
            const std::uint8_t* p = &shown[(std::size_t(y) * width + x) * 3];
            const bool black = p[0] < 8 && p[1] < 8 && p[2] < 8;
            const bool isGrey = p[0] == 0x80 && p[1] == 0x80 && p[2] == 0x80;
            if (!black && !isGrey) return true;
          }
        return false;
      };
      const int bx = width / 10, by = height / 10;
      if (coloured(0, 0, bx, height) && coloured(width - bx, 0, width, height) &&
          coloured(0, 0, width, by) && coloured(0, height - by, width, height))
        return true;
    }
    return false;
  }

  Ramp ramp() {
    Ramp r;
    EXPECT_TRUE(primaryGammaRamp(display(), r.red, r.green, r.blue));
    return r;
  }

  int childrenOfParent() {
    Window root = 0, up = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display(), parent, &root, &up, &children, &count)) return -1;
    if (children != nullptr) XFree(children);
    return int(count);
  }

  static inline XServer* server = nullptr;
  TempDir config;
  pid_t hack = -1;
  Window parent = 0;
};

TEST_F(HackX11, DrawsIntoTheGivenWindowAtItsShapeAndEndsOnSigtermLeavingEverything) {
  struct Case {
    const char* name;
    bool throughEnvironment;  // XSCREENSAVER_WINDOW with --root, else --window-id
    int width, height;
  };
  const Case cases[] = {
      {"window-id 4:3", false, 320, 240},
      {"window-id tall", false, 120, 400},
      {"root wide", true, 480, 100},
  };
  const Ramp before = ramp();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    makeParent(c.width, c.height);
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", parent);
    if (c.throughEnvironment)
      start({"--root"}, id);
    else
      start({"-window-id", std::to_string(parent)});
    EXPECT_TRUE(showFillsParent(c.width, c.height));
    // Input stays with whoever started it: the keyboard is free to take.
    EXPECT_EQ(XGrabKeyboard(display(), parent, False, GrabModeAsync, GrabModeAsync, CurrentTime),
              GrabSuccess);
    XUngrabKeyboard(display(), CurrentTime);
    EXPECT_EQ(ramp(), before) << "a hack changed the ramp it was not asked to change";
    EXPECT_TRUE(windowsTitled(display(), "Plasmora").empty()) << "a top-level window of its own";
    // How a daemon ends a hack.
    kill(hack, SIGTERM);
    EXPECT_EQ(exitStatus(1000ms), 0);
    EXPECT_EQ(childrenOfParent(), 0);
    EXPECT_EQ(ramp(), before);
    TearDown();
  }
}

TEST_F(HackX11, OnlyTheOwnerOfTheLockChangesTheRampAskedFor) {
  const Ramp before = ramp();
  makeParent(200, 150);
  const std::vector<std::string> arguments{"--window-id", std::to_string(parent), "--gamma", "100"};
  {
    OwnerLock other;  // another hack of the user, running
    std::filesystem::create_directories(config.path / "plasmora");
    ASSERT_TRUE(other.take((config.path / "plasmora" / "owner.lock").string()));
    start(arguments);
    ASSERT_TRUE(showFillsParent(200, 150));
    EXPECT_EQ(ramp(), before);
    kill(hack, SIGTERM);
    EXPECT_EQ(exitStatus(1000ms), 0);
  }
  start(arguments);
  ASSERT_TRUE(showFillsParent(200, 150));
  EXPECT_NE(ramp(), before) << "the owner did not apply the ramp asked for";
  kill(hack, SIGTERM);
  EXPECT_EQ(exitStatus(1000ms), 0);
  EXPECT_EQ(ramp(), before);
}

TEST_F(HackX11, AWindowThatDoesNotExistIsACleanFailure) {
  start({"--window-id", "0x7ffffff"});
  EXPECT_EQ(exitStatus(10000ms), 1);
}

}  // namespace
