#include "anim/director.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <tuple>

#include "assets/asset_buffer.h"
#include "scenes/cells_field.h"
#include "tests/assets/archive/test_archive.h"
#include "tests/support/temp_dir.h"

namespace {

using ScriptMaker = std::function<std::string(SceneState)>;
auto xyz(Vec3 v) { return std::tuple(v.x, v.y, v.z); }

// Keys at firstTime (position 1 2 3, frozen when asked) and at `last` (position `end`).
std::string script(float last, Vec3 end, bool freeze = false, float firstTime = 0) {
  char text[400];
  std::snprintf(text, sizeof text,
                "keyframe\ntime %g\nposition V(1 2 3)\nquaternion Q(0 0 0 1)\n%send\nkeyframe\n"
                "time %g\nposition V(%g %g %g)\nquaternion Q(0 0 0 1)\nend\nENDKEYS\n",
                firstTime, freeze ? "freeze\n" : "", last, end.x, end.y, end.z);
  return text;
}

void setTrack(Director& director, const std::string& text) {
  AssetBuffer buffer;
  buffer.openFromMemory(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  director.track.clear();
  director.track.read(buffer);
  ASSERT_TRUE(director.track.prepare());
}

// data.sdd with every script of every scene, in a fresh current directory; no `make`, no archive.
struct ScriptArchive {
  TempDir dir;
  std::filesystem::path previous = std::filesystem::current_path();
  explicit ScriptArchive(const ScriptMaker& make) {
    TestArchive archive;
    for (SceneState scene : {Core, Cells, Dna}) {
      for (int n = 0; make && n <= scriptNumber(scene, 1); ++n) {
        archive.stored(sceneFolder(scene) + ("scene" + std::to_string(n)) + ".txt",
                       bytesOf(make(scene)));
      }
    }
    if (make) dir.write("data.sdd", archive.bytes());
    std::filesystem::current_path(dir.path);
    sceneState = Cells;
    trackTime = 0;
  }
  ~ScriptArchive() { std::filesystem::current_path(previous); }
};

TEST(DirectorTest, ScriptNumberIsTheTruncatedProduct) {
  // clang-format off
  const std::tuple<SceneState, float, int> cases[] = {{Cells, 1, 10}, {Core, 1, 2}, {Dna, 1, 5},
      {Cells, 0, 0}, {Cells, 30062 / 32767.f, 10}, {Cells, 30061 / 32767.f, 9}};
  // clang-format on
  for (auto [scene, unit, number] : cases) EXPECT_EQ(scriptNumber(scene, unit), number) << unit;
}

TEST(DirectorTest, CyclesTheScenesAtTheirRates) {
  ScriptArchive archive([](SceneState) { return script(30, Vec3(9, 9, 9)); });
  Director director;
  ASSERT_TRUE(director.loadScene());
  const float dt = 0.01f;
  for (auto [scene, seconds] : {std::pair{Cells, 10.f}, {Core, 15.f}, {Dna, 30.f}}) {
    ASSERT_EQ(sceneState, scene);
    float wall = 0;
    for (; !director.sceneEnded && wall < 100; wall += dt) {
      trackTime += dt * trackRate(sceneState);
      director.update();
    }
    EXPECT_NEAR(wall, seconds, 2 * dt);
    EXPECT_EQ(trackTime, 0.0f);            // the overshoot is dropped
    EXPECT_EQ(director.position.x, 1.0f);  // at the first key again
    // Unit keys: the view is the turned local x axis, up the turned local z axis.
    EXPECT_EQ(std::pair(director.viewDir.x, director.up.z), std::pair(1.0f, 1.0f));
    director.loadScene();
  }
  EXPECT_EQ(sceneState, Cells);
}

TEST(DirectorTest, FreezeKeepsTheOrientation) {
  Director director;
  setTrack(director, script(10, Vec3(5, 5, 5), true));
  trackTime = 4;
  director.update();
  EXPECT_EQ(xyz(director.position), xyz(Vec3(1, 2, 3)));
  EXPECT_EQ(xyz(director.viewDir), xyz(Vec3(0, 0, -1)));
  EXPECT_EQ(xyz(director.up), xyz(Vec3(0, 1, 0)));
}

TEST(DirectorTest, UnusableScriptsNeverSpinTheScenes) {
  seedRandom(5);
  for (int i = 0; i < 3 * Director::scriptDraws; ++i) randomInt();
  const unsigned afterEveryTry = randomState();
  const ScriptMaker broken[] = {
      [](SceneState) { return script(30, Vec3(0, 0, 0), false, 1); },  // first key at 1
      [](SceneState) { return std::string("keyframe\ntime 0\nend\nENDKEYS\n"); }, nullptr};
  for (const ScriptMaker& make : broken) {
    ScriptArchive archive(make);
    Director director;
    seedRandom(5);
    EXPECT_FALSE(director.loadScene());
    EXPECT_EQ(randomState(), afterEveryTry);
    EXPECT_EQ(sceneState, Cells);
    trackTime = 50;
    director.update();  // the camera stays where it is
    EXPECT_FALSE(director.sceneEnded);
    EXPECT_EQ(xyz(director.viewDir), xyz(Vec3(0, 0, -1)));
  }
  // Only the cells scripts are broken: the show moves on to the nucleus.
  ScriptArchive archive([](SceneState s) { return script(30, Vec3(0, 0, 0), false, s == Cells); });
  Director director;
  EXPECT_TRUE(director.loadScene());
  EXPECT_EQ(sceneState, Core);
}

TEST(DirectorTest, FocusesTheCellNearestToThePathsEnd) {
  // clang-format off
  const Vec3 cases[][3] = {{{10, 0, 0}, {310, -300, 0}, {1, 0, 0}},  // home, placed, colour
      {{299, 10, 100}, {599, -590, 100}, {0, 1, 0}},
      {{299, 10, 100}, {599, -590, 100}, {0, 0, 1}}};  // a tie: the first one wins
  // clang-format on
  Director director;
  std::vector<std::unique_ptr<Cell>> cells;
  director.focusNearestCell(cells);  // no track, no cells: nothing happens
  for (const auto& c : cases) {
    cells.push_back(std::make_unique<Cell>());
    cells.back()->home = c[0];
    cells.back()->colour = c[2];
  }
  director.focusNearestCell(cells);
  EXPECT_EQ(xyz(director.sceneColour), xyz(Vec3(1, 1, 1)));  // the track is empty
  setTrack(director, script(10, Vec3(450, -450, 100)));
  director.focusNearestCell(cells);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    EXPECT_EQ(xyz(cells[i]->position), xyz(cases[i][1]));
  }
  EXPECT_EQ(xyz(director.sceneColour), xyz(Vec3(0, 1, 0)));
}

}  // namespace
