#pragma once
// The real saver binary under a private X server, driven with real input: the fixture the
// end-to-end tests share.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Waits for an event (a window, an exit, a restored ramp) end as soon as it happens; their
// ceilings only bound a failing test. They are generous, since the machine may be busy, and
// larger again in sanitizer builds, whose runs are several times slower.
#if defined(__SANITIZE_ADDRESS__)
#define PLASMORA_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PLASMORA_TEST_SANITIZED 1
#endif
#endif
#ifdef PLASMORA_TEST_SANITIZED
inline constexpr int eventSlowdown = 4;
#else
inline constexpr int eventSlowdown = 1;
#endif
inline constexpr std::chrono::milliseconds eventCeiling = 30000ms * eventSlowdown;

inline const char* const saverPath = PLASMORA_BINARY_DIR "/host/plasmora";
// The same program with the crash trigger (PLASMORA_TEST_CRASH), which the released one lacks.
inline const char* const crashingSaverPath = PLASMORA_BINARY_DIR "/host/plasmora-crash-test";

class SaverX11 : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (haveProgram("Xvfb") && haveProgram("xdotool")) server = new XServer;
  }
  static void TearDownTestSuite() {
    delete server;
    server = nullptr;
  }

  void SetUp() override {
    if (server == nullptr || !server->ok())
      GTEST_SKIP() << "Xvfb and xdotool are needed (scripts/deps.sh test installs them)";
    ASSERT_FALSE(config.empty());
  }

  void TearDown() override {
    if (saver > 0) {
      kill(saver, SIGKILL);
      waitpid(saver, nullptr, 0);
      saver = -1;
    }
    if (parent != 0) XDestroyWindow(display(), parent);
    parent = 0;
    if (server != nullptr && server->ok()) XSync(display(), False);
  }

  Display* display() const { return server->display(); }

  void writeSettings(const std::string& lines) {
    configDir.write("quillmoor/plasmora.conf", lines);
  }

  // Starts the saver and waits until its loop runs: the windows are up and the cursor has
  // been put at the primary window's centre (the pointer starts elsewhere).
  // `whileStarting` runs on every poll until then.
  void startSaver(const char* mode = "/s", const std::function<void()>& whileStarting = {}) {
    ASSERT_TRUE(server->run("xdotool mousemove 3 3"));
    launch({mode});
    ASSERT_GT(saver, 0);
    for (auto end = std::chrono::steady_clock::now() + eventCeiling;
         std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(20ms)) {
      if (whileStarting) whileStarting();
      std::vector<WindowInfo> windows = windowsTitled(display(), "Plasmora");
      for (const WindowInfo& w : windows) {
        if (w.children.empty()) continue;  // the primary window holds the GL surface
        int x = 0, y = 0;
        pointerPosition(display(), x, y);
        if (x == w.x + w.width / 2 && y == w.y + w.height / 2) {
          primary = w;
          return;
        }
      }
      ASSERT_EQ(waitpid(saver, nullptr, WNOHANG), 0) << "the saver ended before its loop";
    }
    FAIL() << "the saver did not come up";
  }

  // The exit status, or -1 when the saver is still running after `timeout`: by default a
  // ceiling for an exit that must come; a short timeout checks that no exit comes.
  int exitStatus(std::chrono::milliseconds timeout = eventCeiling) {
    for (auto end = std::chrono::steady_clock::now() + timeout;;
         std::this_thread::sleep_for(10ms)) {
      int status = 0;
      if (waitpid(saver, &status, WNOHANG) == saver) {
        saver = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      if (std::chrono::steady_clock::now() >= end) return -1;
    }
  }

  // Starts the program with these arguments and returns at once.
  void launch(std::vector<std::string> arguments) {
    saver = fork();
    if (saver == 0) {
      setenv("XDG_CONFIG_HOME", config.c_str(), 1);
      // The record of what a run changed on the display stays inside the test's folder.
      setenv("XDG_RUNTIME_DIR", config.c_str(), 1);
      // Music, when a test leaves it on, plays to no device.
      setenv("SDL_AUDIODRIVER", "dummy", 1);
      for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
      if (!stderrFile.empty()) freopen(stderrFile.c_str(), "w", stderr);
      std::vector<char*> argv{const_cast<char*>(program)};
      for (std::string& a : arguments) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(program, argv.data());
      _exit(127);
    }
  }

  // A grey window for the program to draw into (neither black nor the white root, so a part
  // left uncovered shows); destroyed at the end of the test.
  void makeParent(int x, int y, int width, int height) {
    XSetWindowAttributes a{};
    a.override_redirect = True;
    a.background_pixel = 0x808080;
    parent = XCreateWindow(display(), DefaultRootWindow(display()), x, y, unsigned(width),
                           unsigned(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                           CWOverrideRedirect | CWBackPixel, &a);
    XMapWindow(display(), parent);
    XSync(display(), False);
  }

  bool stillRunningAfterInput() { return exitStatus(700ms) == -1; }

  void input(const std::string& xdotoolArguments) {
    ASSERT_TRUE(server->run("xdotool " + xdotoolArguments)) << xdotoolArguments;
  }

  static inline XServer* server = nullptr;
  std::vector<std::pair<std::string, std::string>> environment;
  std::string stderrFile;  // where the saver's stderr goes; inherited when empty
  const char* program = saverPath;
  TempDir configDir;
  const fs::path& config = configDir.path;
  pid_t saver = -1;
  Window parent = 0;
  WindowInfo primary;
};
