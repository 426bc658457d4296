// The program as a hack: a parent window made here stands in for a screensaver daemon's
// window, and the real program draws into it.
#include "platform/owner_lock.h"
#include "tests/host/saver_x11_fixture.h"

namespace {

constexpr int parentX = 60, parentY = 40;

class HackX11 : public SaverX11 {
 protected:
  void SetUp() override {
    SaverX11::SetUp();
    if (IsSkipped()) return;
    // Stored settings that would change the ramp in a full-screen run.
    writeSettings("EnableMusic=0\nDefGamma=0\nGamma=100\nVSync=1\n");
    before = ramp();
  }
  void start(std::vector<std::string> arguments, const char* daemonWindow = nullptr) {
    if (daemonWindow != nullptr) environment.emplace_back("XSCREENSAVER_WINDOW", daemonWindow);
    launch(std::move(arguments));
  }

  // Whether the show covers the whole parent: each tenth of it along each edge holds a pixel
  // that is neither the black of an empty surface nor the parent's grey.
  bool showFillsParent(int width, int height) {
    for (auto end = std::chrono::steady_clock::now() + eventCeiling; std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(100ms)) {
      const std::vector<std::uint8_t> shown =
          rootPixels(display(), parentX, parentY, width, height);
      auto coloured = [&](int x0, int y0, int x1, int y1) {
        for (int y = y0; y < y1 && !shown.empty(); ++y)
          for (int x = x0; x < x1; ++x) {
            const std::uint8_t* p = &shown[(std::size_t(y) * width + x) * 3];
            if (std::max({p[0], p[1], p[2]}) >= 8 &&
                !(p[0] == 0x80 && p[1] == 0x80 && p[2] == 0x80))
              return true;
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

  std::vector<std::uint16_t> ramp() {
    std::vector<std::uint16_t> red, green, blue;
    EXPECT_TRUE(primaryGammaRamp(display(), red, green, blue));
    red.insert(red.end(), green.begin(), green.end());
    red.insert(red.end(), blue.begin(), blue.end());
    return red;
  }

  std::vector<std::uint16_t> before;
};

TEST_F(HackX11, DrawsIntoTheGivenWindowAtItsShapeAndEndsOnSigtermLeavingEverything) {
  const struct {
    bool throughEnvironment;  // XSCREENSAVER_WINDOW with --root, else --window-id
    int width, height;
  } cases[] = {{false, 320, 240}, {false, 120, 400}, {true, 480, 100}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    makeParent(parentX, parentY, c.width, c.height);
    const std::string id = (std::stringstream() << "0x" << std::hex << parent).str();
    if (c.throughEnvironment)
      start({"--root"}, id.c_str());
    else
      start({"-window-id", std::to_string(parent)});
    EXPECT_TRUE(showFillsParent(c.width, c.height));
    // Input stays with whoever started it: the keyboard is free to take.
    EXPECT_EQ(XGrabKeyboard(display(), parent, False, GrabModeAsync, GrabModeAsync, CurrentTime),
              GrabSuccess);
    XUngrabKeyboard(display(), CurrentTime);
    EXPECT_EQ(ramp(), before) << "the ramp changed without --gamma";
    EXPECT_TRUE(windowsTitled(display(), "Plasmora").empty()) << "a top-level window of its own";
    kill(saver, SIGTERM);  // how a daemon ends a hack
    EXPECT_EQ(exitStatus(), 0);
    Window root = 0, up = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display(), parent, &root, &up, &children, &count);
    if (children != nullptr) XFree(children);
    EXPECT_EQ(count, 0u) << "a window left in the parent";
    TearDown();
  }
}

TEST_F(HackX11, OnlyTheOwnerOfTheLockChangesTheRampAskedFor) {
  makeParent(parentX, parentY, 200, 150);
  const std::vector<std::string> arguments{"--window-id", std::to_string(parent), "--gamma", "100"};
  {
    OwnerLock other;  // another hack of the user's, running
    fs::create_directories(config / "plasmora");
    ASSERT_TRUE(other.take(config / "plasmora" / "owner.lock"));
    start(arguments);
    ASSERT_TRUE(showFillsParent(200, 150));
    EXPECT_EQ(ramp(), before);
    kill(saver, SIGTERM);
    EXPECT_EQ(exitStatus(), 0);
  }
  start(arguments);
  ASSERT_TRUE(showFillsParent(200, 150));
  EXPECT_NE(ramp(), before) << "the owner did not apply the ramp asked for";
  kill(saver, SIGTERM);
  EXPECT_EQ(exitStatus(), 0);
  EXPECT_EQ(ramp(), before);
  start({"--window-id", "0x7ffffff"});  // names no window
  EXPECT_EQ(exitStatus(), 1);
}

TEST_F(HackX11, AMusicModuleThatCannotLoadLeavesTheShowDrawing) {
  TempDir data;
  fs::copy_file(fs::path(PLASMORA_DATA_DIR) / "data.sdd", data.path / "data.sdd");
  data.write("libbass.so", std::string("no library"));
  writeSettings("EnableMusic=1\nPath=\"" + data.path.string() + "\"\n");
  makeParent(parentX, parentY, 200, 150);
  start({"--window-id", std::to_string(parent)});
  EXPECT_TRUE(showFillsParent(200, 150));
  kill(saver, SIGTERM);
  EXPECT_EQ(exitStatus(), 0);
}

}  // namespace
