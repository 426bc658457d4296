// The run's graphics start-up against a stand-in for the context's swap control (no display,
// no context: the entry-point lookup finds no extension and sets nothing).
#include <gtest/gtest.h>

#include <vector>

#include "platform/gl_context.h"
#include "settings/settings.h"
#include "show/graphics_setup.h"

namespace {

bool swapControl = false;
std::vector<int> swapIntervals;

}  // namespace

void* glProcAddress(const char*) { return nullptr; }
bool swapControlAvailable() { return swapControl; }
void setSwapInterval(int interval) { swapIntervals.push_back(interval); }

namespace {

TEST(GraphicsSetup, SetsTheSwapIntervalEitherWayOnlyWhenItCan) {
  settings = Settings{};
  for (bool vsync : {true, false}) {
    swapControl = true;
    swapIntervals.clear();
    settings.VSync = vsync;
    initGraphics();
    EXPECT_EQ(swapIntervals, std::vector<int>{vsync ? 1 : 0});
  }
  swapControl = false;
  swapIntervals.clear();
  settings.VSync = true;
  initGraphics();
  EXPECT_TRUE(swapIntervals.empty());
}

}  // namespace
