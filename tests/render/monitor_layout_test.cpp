// How the show is cut over the monitors: worked frusta for layouts written as
// "WxH+X+Y,..." (desktop pixels, the primary first).
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "render/monitor_layout.h"

namespace {

std::vector<DesktopRect> layout(const std::string& text) {
  std::vector<DesktopRect> rects;
  std::stringstream list(text);
  for (std::string item; std::getline(list, item, ',');) {
    DesktopRect r;
    EXPECT_EQ(std::sscanf(item.c_str(), "%dx%d%d%d", &r.width, &r.height, &r.left, &r.top), 4)
        << item;
    rects.push_back(r);
  }
  return rects;
}

TEST(MonitorLayout, CutsTheFrustaOfEachMode) {
  const struct {
    int mode;
    const char* layout;
    std::vector<FrustumExtent> expected;  // left, right, bottom, top
  } cases[] = {
      // One view across two equal monitors: straight ahead lies on the seam.
      {2,
       "640x1024+0+0,640x1024+640+0",
       {{-0.666665, 0.0, -0.533332, 0.533332}, {0.0, 0.666665, -0.533332, 0.533332}}},
      // The primary in the middle of three: the middle third, whatever the order.
      {2,
       "1280x1024+1280+0,1280x1024+0+0,1280x1024+2560+0",
       {{-0.625, 0.625, -0.5, 0.5}, {-1.875, -0.625, -0.5, 0.5}, {0.625, 1.875, -0.5, 0.5}}},
      // A portrait monitor left of the origin beside a landscape one, tops level.
      {2,
       "1024x768+0+0,768x1024-768+0",
       {{-0.125, 0.875, -0.25, 0.5}, {-0.875, -0.125, -0.5, 0.5}}},
      // Stacked: the lower monitor sees the lower half.
      {2,
       "800x600+0+0,800x600+0+600",
       {{-0.666665, 0.666665, 0.0, 1.0}, {-0.666665, 0.666665, -1.0, 0.0}}},
      // Each monitor its own shape.
      {1,
       "1024x768+0+0,768x1024-768+0,1920x600+1024+0",
       {{-0.666665, 0.666665, -0.5, 0.5},
        {-0.666665, 0.666665, -0.888887, 0.888887},
        {-1.6, 1.6, -0.5, 0.5}}},
      // The primary only: the fixed 4:3 frustum; an unknown mode reads as 0.
      {0, "1920x1080+0+0", {{-0.666665, 0.666665, -0.5, 0.5}}},
      {7, "1920x1080+0+0", {{-0.666665, 0.666665, -0.5, 0.5}}},
      // An empty monitor takes the 4:3 frustum and is left out of the bounds.
      {2,
       "640x480+0+0,0x0+5000+5000",
       {{-0.666665, 0.666665, -0.5, 0.5}, {-0.666665, 0.666665, -0.5, 0.5}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + " " + c.layout);
    const std::vector<FrustumExtent> got = monitorFrusta(monitorsMode(c.mode), layout(c.layout));
    ASSERT_EQ(got.size(), c.expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_NEAR(got[i].left, c.expected[i].left, 1e-5);
      EXPECT_NEAR(got[i].right, c.expected[i].right, 1e-5);
      EXPECT_NEAR(got[i].bottom, c.expected[i].bottom, 1e-5);
      EXPECT_NEAR(got[i].top, c.expected[i].top, 1e-5);
    }
  }
}

}  // namespace
