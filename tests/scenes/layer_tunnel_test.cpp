// The fly-in tunnel's stream of sheets, without GL: movement, recycling and the fades that
// hide a recycle.
#include <gtest/gtest.h>

#include <deque>

#include "render/math.h"
#include "scenes/layer_tunnel.h"

namespace {

bool same(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

TEST(LayerTunnel, RecyclesTheNearestSheetToTheFarEndOncePerUpdate) {
  seedRandom(1234);
  LayerTunnel tunnel;
  tunnel.buildLayers();  // offset starts at 10

  struct Step {
    float dt;
    float offset;   // after the update
    bool recycled;  // one sheet went from the near end to the far end
  } steps[] = {
      {0.1f, 6.0f, false},  {0.2f, 8.0f, true},  // 6 - 8 = -2, +10
      {0.2f, 0.0f, false},                       // exactly 0 is not yet past the eye
      {1.0f, -30.0f, true},                      // a long step: one recycle, still negative
      {0.0f, -20.0f, true}, {0.0f, -10.0f, true}, {0.0f, 0.0f, true}, {0.0f, 0.0f, false},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.offset);
    std::deque<Vec3> before = tunnel.layers;
    unsigned int state = randomState();
    tunnel.update(s.dt);
    EXPECT_NEAR(tunnel.offset, s.offset, 1e-4f);
    ASSERT_EQ(tunnel.layers.size(), 6u);
    if (s.recycled) {
      // The far end gets one new direction, exactly the next draw of the generator.
      seedRandom(state);
      Vec3 expected = randomDirection();
      EXPECT_TRUE(same(tunnel.layers.front(), expected));
      for (std::size_t i = 1; i < 6; ++i) EXPECT_TRUE(same(tunnel.layers[i], before[i - 1]));
    } else {
      EXPECT_EQ(randomState(), state);
      for (std::size_t i = 0; i < 6; ++i) EXPECT_TRUE(same(tunnel.layers[i], before[i]));
    }
  }
}

TEST(LayerTunnel, EndSheetsCrossFadeSoARecycleShowsNoJump) {
  LayerTunnel tunnel;
  tunnel.alpha = 0.8f;
  struct Case {
    float offset, farthest, middle, nearest;
  } cases[] = {{10.0f, 0.0f, 0.8f, 0.8f}, {0.0f, 0.8f, 0.8f, 0.0f}, {5.0f, 0.4f, 0.8f, 0.4f}};
  for (const Case& c : cases) {
    tunnel.offset = c.offset;
    EXPECT_TRUE(same({tunnel.layerAlpha(0), tunnel.layerAlpha(3), tunnel.layerAlpha(5)},
                     {c.farthest, c.middle, c.nearest}))
        << c.offset;
  }
}

}  // namespace
