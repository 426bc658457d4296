// The display's gamma ramp is written only by a run that changed it: a run that ends before
// its ramp was taken (no audio module), or whose ramp the display refused, leaves the user's
// calibrated ramp alone, on every platform, since the rule lives here and not in a backend.
#include <gtest/gtest.h>

#include "settings/settings.h"
#include "show/saver_content.h"
#include "tests/support/gl_test.h"
#include "tests/support/temp_dir.h"

namespace {

// The display stand-in: counts what the run asks of it.
int rampsSet = 0, rampsRestored = 0;
bool displayTakesRamps = true;

}  // namespace

bool setDisplayGammaRamp(const std::uint16_t[256], const std::uint16_t[256],
                         const std::uint16_t[256]) {
  ++rampsSet;
  return displayTakesRamps;
}

bool restoreDisplayGammaRamp() {
  ++rampsRestored;
  return true;
}

namespace {

using SaverContentRamp = GlTest;

TEST_F(SaverContentRamp, OnlyARunThatChangedTheRampPutsOneBack) {
  TempDir noModule;  // Path without the audio module
  struct Case {
    const char* name;
    bool music, defGamma, displayTakes;
    bool started;
    int set, restored;  // calls over the whole run
  } cases[] = {
      {"ramp taken and put back", false, false, true, true, 1, 1},
      {"ramp refused: nothing to put back", false, false, false, true, 1, 0},
      {"DefGamma: never touched", false, true, true, true, 0, 0},
      {"no audio module: ends before the ramp", true, false, true, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    settings = Settings{};
    settings.EnableMusic = c.music;
    settings.DefGamma = c.defGamma;
    settings.Gamma = 80;
    settings.Path = noModule.path.string() + "/";
    rampsSet = rampsRestored = 0;
    displayTakesRamps = c.displayTakes;
    EXPECT_EQ(startContent(), c.started);
    stopContent();
    EXPECT_EQ(rampsSet, c.set);
    EXPECT_EQ(rampsRestored, c.restored);
  }
}

}  // namespace
