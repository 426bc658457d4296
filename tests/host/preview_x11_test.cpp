// The preview under a private X server: a parent window made here, the real program in it.
#include <fstream>
#include <sstream>

#include "host/builtin_bitmaps.h"
#include "tests/host/saver_x11_fixture.h"

namespace {

constexpr int parentX = 100, parentY = 80;

class PreviewX11 : public SaverX11 {
 protected:
  void makeParent(int width, int height) { SaverX11::makeParent(parentX, parentY, width, height); }

  void start(const std::string& number) {
    stderrFile = (config / "stderr").string();
    launch(number.empty() ? std::vector<std::string>{"/p"}
                          : std::vector<std::string>{"/p", number});
  }

  // Pixels that differ from the picture at the top left on black, after waiting for them to
  // settle (the first count that is 0, or the last look).
  int wrongPixels(int width, int height) {
    const BuiltinBitmap* picture = builtinBitmap(previewBitmapId);
    int wrong = -1;
    for (auto end = std::chrono::steady_clock::now() + eventCeiling;
         wrong != 0 && std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(50ms)) {
      const std::vector<std::uint8_t> shown =
          rootPixels(display(), parentX, parentY, width, height);
      if (shown.empty()) continue;
      wrong = 0;
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
          const bool inside = x < picture->width && y < picture->height;
          const std::uint8_t* p = picture->rgb + (std::size_t(y) * picture->width + x) * 3;
          const std::uint8_t* s = &shown[(std::size_t(y) * width + x) * 3];
          for (int c = 0; c < 3; ++c) wrong += s[c] != (inside ? p[c] : 0) ? 1 : 0;
        }
    }
    return wrong;
  }
};

TEST_F(PreviewX11, PictureAtTheTopLeftClippedOrOnBlack) {
  for (auto [width, height] : {std::pair{152, 112}, std::pair{200, 150}}) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    makeParent(width, height);
    start(std::to_string(parent));
    EXPECT_EQ(wrongPixels(width, height), 0);
    // How the screensaver machinery ends a preview whose window it keeps.
    kill(saver, SIGTERM);
    EXPECT_EQ(exitStatus(), 0);
    TearDown();
  }
}

TEST_F(PreviewX11, FollowsTheParentRepaintsAndEndsWithIt) {
  makeParent(152, 112);
  start(std::to_string(parent));
  ASSERT_EQ(wrongPixels(152, 112), 0);
  XResizeWindow(display(), parent, 200, 150);
  XSync(display(), False);
  EXPECT_EQ(wrongPixels(200, 150), 0) << "the preview does not cover the grown parent";
  // A window laid over the preview and taken away again: the picture comes back.
  XSetWindowAttributes a{};
  a.override_redirect = True;
  a.background_pixel = 0xFFFFFF;
  Window cover = XCreateWindow(display(), DefaultRootWindow(display()), parentX, parentY, 120, 90,
                               0, CopyFromParent, InputOutput, CopyFromParent,
                               CWOverrideRedirect | CWBackPixel, &a);
  XMapWindow(display(), cover);
  XSync(display(), False);
  std::this_thread::sleep_for(100ms);
  XDestroyWindow(display(), cover);
  XSync(display(), False);
  EXPECT_EQ(wrongPixels(200, 150), 0) << "not painted again";
  EXPECT_EQ(exitStatus(300ms), -1);
  XDestroyWindow(display(), parent);
  XSync(display(), False);
  parent = 0;
  EXPECT_EQ(exitStatus(), 0);
}

TEST_F(PreviewX11, WithoutAWindowToDrawIntoTheMessageWaitsForOk) {
  for (const std::string number : {"", "2147483647"}) {
    SCOPED_TRACE("/p " + number);
    start(number);
    std::vector<WindowInfo> box;
    for (int i = 0; i < 400 && box.empty(); ++i, std::this_thread::sleep_for(25ms))
      box = windowsTitled(display(), "ERROR");
    ASSERT_EQ(box.size(), 1u);
    EXPECT_EQ(exitStatus(300ms), -1) << "the process waits for the box";
    server->run("xdotool mousemove --window " + std::to_string(box[0].window) + " 180 80 click 1");
    EXPECT_EQ(exitStatus(), 0);
    std::stringstream said;
    said << std::ifstream(config / "stderr").rdbuf();
    EXPECT_EQ(said.str(), "ERROR: Cannot creat window!\n");
  }
}

}  // namespace
