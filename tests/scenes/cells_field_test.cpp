#include "scenes/cells_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>

#include "assets/tools/cell_generator.h"

namespace {

auto xyz(Vec3 v) { return std::tuple(v.x, v.y, v.z); }

void fill(CellsField& field, std::initializer_list<Vec3> homes) {
  std::vector<CellPlacement> placements;
  for (Vec3 home : homes) placements.push_back({home, Vec3(0, 1, 0), 0});
  const auto bytes = encodeCells(placements);
  ASSERT_TRUE(field.addCells(bytes.data(), bytes.size()));
}

TEST(CellsFieldTest, ReadsOnlyWholeFiniteLayouts) {
  const auto good =
      encodeCells({{Vec3(1, 2, 3), Vec3(0, 0, 1), 45}, {Vec3(4, 5, 6), Vec3(1, 0, 0), 90}});
  auto patched = [&good](std::uint32_t count, std::size_t size, float at32 = 0) {
    auto b = good;
    std::memcpy(b.data(), &count, 4);
    std::memcpy(b.data() + 32, &at32, 4);
    b.resize(size);
    return b;
  };
  // Bytes and the records read from them; 9 stands for a refusal.
  // clang-format off
  const std::pair<std::vector<std::uint8_t>, std::size_t> cases[] = {{good, 2}, {patched(0, 4), 0},
      {patched(1, 33), 1}, {patched(2, 59), 9}, {patched(0xFFFFFFFF, 60), 9}, {patched(0, 3), 9},
      {patched(2, 60, NAN), 9}};
  // clang-format on
  for (const auto& [bytes, count] : cases) {
    std::vector<CellRecord> records(5);
    EXPECT_EQ(parseCellRecords(bytes.data(), bytes.size(), records), count != 9);
    EXPECT_EQ(records.size(), count % 9);
  }
}

TEST(CellsFieldTest, PlacesEachCellAtTheNearestCopyAndInTheCone) {
  const struct {
    Vec3 camera, home, position;
    bool visible;
  } cases[] = {
      // clang-format off
      {{-10, 0, 0}, {290, 0, -20}, {-10, 0, -20}, true},    // q truncates toward zero
      {{0, 0, 0}, {150, 0, -200}, {150, 0, 100}, false},    // 150 away stays, more moves
      {{610, 0, 0}, {-145, 0, -30}, {755, 0, -30}, false},  // q = 600, s = 10
      {{0, 0, 0}, {0, 0, 5}, {0, 0, 5}, true},              // behind, inside the apex
      {{0, 0, 0}, {0, 0, 15}, {0, 0, 15}, false},           // behind the apex
      {{0, 0, 0}, {20, 0, -20}, {20, 0, -20}, true},        // cos 0.447
      // clang-format on
  };
  for (const auto& c : cases) {
    CellsField field;
    fill(field, {c.home});
    field.placeCells(c.camera, Vec3(0, 0, -1));
    const Cell& cell = *field.cells()[0];
    EXPECT_EQ(xyz(cell.position), xyz(c.position)) << c.home.x;
    EXPECT_EQ(cell.visible, c.visible) << c.home.x;
    EXPECT_FLOAT_EQ(cell.alpha, 1 - 2 * length(c.camera - c.position) / 300);
  }
}

TEST(CellsFieldTest, SortsFarToNearKeepingTheOrderOfEqualDistances) {
  CellsField field;
  fill(field, {{0, 0, -10}, {0, -50, 0}, {0, 0, -50}, {0, 0, -30}});
  for (int frame = 0; frame < 2; ++frame) {
    field.placeCells(Vec3(0, 0, 0), Vec3(0, 0, -1));
    const Vec3 farToNear[] = {{0, -50, 0}, {0, 0, -50}, {0, 0, -30}, {0, 0, -10}};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(xyz(field.cells()[i]->home), xyz(farToNear[i])) << i;
  }
}

TEST(CellsFieldTest, AnglesWrapBySubtractingOnce) {
  // Angle, mitochondrion angle (10 degrees a second), dt, then both expected.
  const float cases[][5] = {{350, 355, 1, 10, 5}, {10, 10, 1, 30, 20}, {350, 100, 40, 790, 140}};
  CellsField field;
  fill(field, {{0, 0, 0}});
  Cell& cell = *field.cells()[0];
  cell.mitoSpeed[3] = 10;
  for (const auto& c : cases) {
    cell.angle = c[0];
    cell.mitoAngle[3] = c[1];
    field.update(c[2]);
    EXPECT_EQ(std::pair(cell.angle, cell.mitoAngle[3]), std::pair(c[3], c[4]));
  }
}

// The content generator draws what a new Cell draws, so its layout is the one the field's own
// draws were made around: each cell's jitter, axis and angle must agree, and so must colours.
TEST(CellsFieldTest, GeneratorKeepsTheDrawsOfANewCell) {
  seedRandom(20);
  const std::vector<CellPlacement> layout = generateCells();
  ASSERT_EQ(layout.size(), 64u);
  seedRandom(20);
  for (std::size_t n = 0; n < layout.size(); ++n) {
    const Vec3 grid(75.0f * (n / 16) - 112.5f, 75.0f * (n / 4 % 4) - 112.5f,
                    75.0f * (n % 4) - 112.5f);
    const float jitter = randomUnit() * 28;  // within 28 of the grid: never outside the period
    EXPECT_EQ((grid + randomDirection() * jitter).x, layout[n].home.x) << n;
    const unsigned before = randomState();
    Cell cell;
    EXPECT_EQ(randomDirection().z, layout[n].axis.z) << n;
    EXPECT_EQ(randomUnit() * 360, layout[n].angle) << n;
    const unsigned after = randomState();
    seedRandom(before);
    for (int i = 0; i < 60; ++i) randomInt();
    EXPECT_EQ(cell.colour.z, 1 - 0.7f * randomUnit());  // blue first, red last
    randomInt();
    EXPECT_EQ(cell.colour.x, 1 - 0.7f * randomUnit());
    seedRandom(after);
  }
}

}  // namespace
