#include "anim/director.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <span>
#include <string>

#include "assets/asset_buffer.h"
#include "scenes/cells_field.h"
#include "tests/assets/test_archive.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr SceneState allScenes[] = {Core, Cells, Dna};

// Two keys, at 0 and `last`, the second at `end`; `firstTime` other than 0 makes it unusable.
std::string script(float last, Vec3 end, bool freezeFirst = false, float firstTime = 0) {
  char text[512];
  std::snprintf(text, sizeof text,
                "keyframe\ntime %g\nposition V(1 2 3)\nquaternion Q(0 0 0 1)\n%send\n"
                "keyframe\ntime %g\nposition V(%g %g %g)\nquaternion Q(0 0 0 1)\nend\nENDKEYS\n",
                firstTime, freezeFirst ? "freeze\n" : "", last, end.x, end.y, end.z);
  return text;
}

// data.sdd in a fresh current directory, with every script of every scene made by `make`.
struct ScriptArchive {
  TempDir dir;
  std::filesystem::path previous = std::filesystem::current_path();
  explicit ScriptArchive(const std::function<std::string(SceneState, int)>& make) {
    TestArchive archive;
    for (SceneState scene :
         make ? std::span<const SceneState>(allScenes) : std::span<const SceneState>()) {
      for (int n = 0; n <= scriptNumber(scene, 1.0f); ++n) {
        archive.stored(sceneFolder(scene) + std::string("scene") + std::to_string(n) + ".txt",
                       bytesOf(make(scene, n)));
      }
    }
    if (make) dir.write("data.sdd", archive.bytes());
    std::filesystem::current_path(dir.path);
    sceneState = Cells;
    trackTime = 0;
  }
  ~ScriptArchive() { std::filesystem::current_path(previous); }
};

void setTrack(Director& director, const std::string& source) {
  AssetBuffer text;
  text.openFromMemory(reinterpret_cast<const std::uint8_t*>(source.data()), source.size());
  director.track.clear();
  director.track.read(text);
  ASSERT_TRUE(director.track.prepare());
}

// A seed whose first draw is `raw`.
unsigned seedGiving(int raw) {
  for (unsigned s = 0;; ++s) {
    seedRandom(s);
    if (randomInt() == raw) return s;
  }
}

TEST(DirectorTest, ScriptNumberIsTheTruncatedProduct) {
  const struct {
    SceneState scene;
    int raw;
    int number;
  } cases[] = {{Cells, 32767, 10}, {Core, 32767, 2}, {Dna, 32767, 5},    {Cells, 0, 0},
               {Core, 0, 0},       {Dna, 0, 0},      {Cells, 30062, 10}, {Cells, 30061, 9}};
  for (const auto& c : cases) {
    EXPECT_EQ(scriptNumber(c.scene, c.raw / 32767.0f), c.number) << c.scene << " " << c.raw;
    // loadScene reads the script that one draw names; each script ends at (scene, number).
    ScriptArchive archive([](SceneState s, int n) { return script(30, Vec3(s, n, 0)); });
    sceneState = c.scene;
    seedRandom(seedGiving(c.raw));
    randomInt();
    const unsigned afterOneDraw = randomState();
    seedRandom(seedGiving(c.raw));
    Director director;
    ASSERT_TRUE(director.loadScene());
    EXPECT_EQ(sceneState, c.scene);
    EXPECT_EQ(director.track.lastKey().position.y, c.number);
    EXPECT_EQ(randomState(), afterOneDraw);
  }
}

TEST(DirectorTest, CyclesTheScenesAtTheirRates) {
  ScriptArchive archive([](SceneState, int) { return script(30, Vec3(9, 9, 9)); });
  Director director;
  ASSERT_TRUE(director.loadScene());
  const struct {
    SceneState scene;
    float seconds;
  } visits[] = {{Cells, 10}, {Core, 15}, {Dna, 30}};
  const float dt = 0.01f;
  for (const auto& visit : visits) {
    ASSERT_EQ(sceneState, visit.scene);
    float wall = 0;
    do {
      wall += dt;
      trackTime += dt * trackRate(sceneState);
      director.update();
    } while (!director.sceneEnded && wall < 100);
    EXPECT_NEAR(wall, visit.seconds, 2 * dt);
    EXPECT_EQ(trackTime, 0.0f);            // the overshoot is dropped
    EXPECT_EQ(director.position.x, 1.0f);  // back at the first key
    director.loadScene();
    EXPECT_FALSE(director.sceneEnded);
  }
  EXPECT_EQ(sceneState, Cells);
}

TEST(DirectorTest, FreezeKeepsTheOrientation) {
  Director director;
  setTrack(director, script(10, Vec3(5, 5, 5), true));
  trackTime = 4;
  director.update();
  EXPECT_EQ(director.position.y, 2.0f);
  EXPECT_EQ(director.viewDir.z, -1.0f);
  EXPECT_EQ(director.up.y, 1.0f);
  // Moving keys: the view is the turned local x axis, up the turned local z axis.
  setTrack(director, script(10, Vec3(5, 5, 5)));
  director.update();
  EXPECT_EQ(director.viewDir.x, 1.0f);
  EXPECT_EQ(director.up.z, 1.0f);
  EXPECT_FLOAT_EQ(director.position.y, 3.2f);
  director.track.clear();
  director.update();  // an empty track leaves the camera alone
  EXPECT_FLOAT_EQ(director.position.y, 3.2f);
}

TEST(DirectorTest, UnusableScriptsNeverSpinTheScenes) {
  const std::function<std::string(SceneState, int)> makers[] = {
      [](SceneState, int) { return script(30, Vec3(0, 0, 0), false, 1); },  // first key at 1
      [](SceneState, int) { return std::string("keyframe\ntime 0\nend\nENDKEYS\n"); },
      nullptr,  // no archive at all
  };
  for (const auto& make : makers) {
    ScriptArchive archive(make);
    seedRandom(7);
    Director director;
    EXPECT_FALSE(director.loadScene());
    EXPECT_EQ(sceneState, Cells);
    trackTime = 50;
    director.update();
    EXPECT_FALSE(director.sceneEnded);
    EXPECT_EQ(director.position.z, 0.0f);
    EXPECT_EQ(director.viewDir.z, -1.0f);
  }
  // Only the cells scripts are broken: the show moves on to the nucleus.
  ScriptArchive archive(
      [](SceneState s, int) { return script(30, Vec3(0, 0, 0), false, s == Cells); });
  Director director;
  EXPECT_TRUE(director.loadScene());
  EXPECT_EQ(sceneState, Core);
}

TEST(DirectorTest, FocusesTheCellNearestToThePathsEnd) {
  Director director;
  std::vector<std::unique_ptr<Cell>> cells;
  director.focusNearestCell(cells);  // no track, no cells: nothing happens
  const struct {
    Vec3 home, expected, colour;
  } cases[] = {{{10, 0, 0}, {310, -300, 0}, {1, 0, 0}},
               {{299, 10, 100}, {599, -590, 100}, {0, 1, 0}},
               {{299, 10, 100}, {599, -590, 100}, {0, 0, 1}}};  // a tie: the first one wins
  for (const auto& c : cases) {
    cells.push_back(std::make_unique<Cell>());
    cells.back()->home = c.home;
    cells.back()->colour = c.colour;
  }
  director.focusNearestCell(cells);
  EXPECT_EQ(director.sceneColour.x, 1.0f);  // still white: the track is empty
  setTrack(director, script(10, Vec3(450, -450, 100)));
  director.focusNearestCell(cells);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const Vec3 p = cells[i]->position;
    EXPECT_EQ(p.x, cases[i].expected.x);
    EXPECT_EQ(p.y, cases[i].expected.y);
    EXPECT_EQ(p.z, cases[i].expected.z);
  }
  EXPECT_EQ(director.sceneColour.y, 1.0f);
  EXPECT_EQ(director.sceneColour.z, 0.0f);
}

}  // namespace
