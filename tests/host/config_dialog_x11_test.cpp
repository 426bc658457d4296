// The configuration dialog of the real saver under a private X server, clicked with xdotool.
#include <gtest/gtest.h>

#include <X11/Xutil.h>

#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"

namespace {

// Every value the dialog stores, so that a save changes lines in place and adds none.
const char* const storedFile =
    "# kept as it is\n"
    "ShowClock=1\nTimeFormat=0\nEnglish=0\nRandom=0\nEnableMusic=1\nUseDesktop=1\n"
    "ShowFlame=0\nDefGamma=1\nWidth=1280\nHeight=1024\nDepth=32\nVolume=50\nGamma=50\n"
    "Detail=2\nVSync=0\nMouseExit=0\nShowFPS=0\nMonitors=0\nFrameLimit=0\n"
    "Path=/usr/share/plasmora\n";

class ConfigDialogX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!haveProgram("Xvfb") || !haveProgram("xdotool") || !server.ok())
      GTEST_SKIP() << "Xvfb and xdotool are needed (scripts/deps.sh test installs them)";
    config.write("quillmoor/plasmora.conf", storedFile);
  }

  // Opens `plasmora <mode>`, waits for its dialog, runs `actions` (a shell fragment that
  // finds the dialog's window as $W and has `at X Y BUTTON` click a point given in the
  // dialog's units: 397 x 238 inside an 8-pixel border) and waits for the program to end.
  bool drive(const std::string& mode, const std::string& actions) {
    return server.run(
        "XDG_CONFIG_HOME=" + config.path.string() +
        " timeout 20 " PLASMORA_BINARY_DIR "/host/plasmora " + mode +
        " & p=$!; "
        "W=$(xdotool search --sync --onlyvisible --name '^Plasmora Configuration$' | head -1); "
        "eval $(xdotool getwindowgeometry --shell $W); sleep 0.3; "
        "at() { xdotool mousemove $((X + 8 + $1 * (WIDTH - 16) / 397))"
        " $((Y + 8 + $2 * (HEIGHT - 16) / 238)) click $3; sleep 0.2; }; " +
        actions + "; wait $p");
  }
  std::string settingsText() const { return readFile(config.path / "quillmoor/plasmora.conf"); }

  XServer server;
  TempDir config;
};

TEST_F(ConfigDialogX11, OkStoresExactlyWhatTheUserChanged) {
  // Show FPS; a middle click on the volume slider left of its thumb pages down; OK.
  ASSERT_TRUE(drive("/c", "at 115 17 1; at 282 135 2; at 276 228 1"));
  std::string expected = storedFile;
  expected.replace(expected.find("ShowFPS=0"), 9, "ShowFPS=1");
  expected.replace(expected.find("Volume=50"), 9, "Volume=40");
  EXPECT_EQ(settingsText(), expected);
}

TEST_F(ConfigDialogX11, CancelLeavesTheFileAsItWas) {
  ASSERT_TRUE(drive("/c", "at 115 17 1; at 351 228 1"));
  EXPECT_EQ(settingsText(), storedFile);
}

TEST_F(ConfigDialogX11, IsTransientForTheWindowNamedAfterCAndEndsOnEscape) {
  Display* display = server.display();
  Window owner = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 200, 100, 0, 0, 0);
  XSync(display, False);
  char id[32];
  std::snprintf(id, sizeof id, "0x%lx", owner);
  // Without a window manager the keyboard goes to the window under the pointer.
  ASSERT_TRUE(drive("/c:" + std::to_string(owner),
                    "xprop -id $W WM_TRANSIENT_FOR | grep -qw " + std::string(id) +
                        " || exit 3; xdotool mousemove $((X + 20)) $((Y + 20)) key Escape"));
  EXPECT_EQ(settingsText(), storedFile);
}

}  // namespace
