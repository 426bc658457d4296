#include "scenes/cells_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "assets/tools/cell_generator.h"

namespace {

// A field holding one cell per home, in the given order.
void fill(CellsField& field, std::initializer_list<Vec3> homes) {
  std::vector<CellPlacement> placements;
  for (Vec3 home : homes) placements.push_back({home, Vec3(0, 1, 0), 0});
  const auto bytes = encodeCells(placements);
  ASSERT_TRUE(field.addCells(bytes.data(), bytes.size()));
}

TEST(CellsFieldTest, ReadsOnlyWholeFiniteLayouts) {
  const auto good =
      encodeCells({{Vec3(1, 2, 3), Vec3(0, 0, 1), 45}, {Vec3(4, 5, 6), Vec3(1, 0, 0), 90}});
  auto withCount = [&good](std::uint32_t n, std::size_t size) {
    auto b = good;
    std::memcpy(b.data(), &n, 4);
    b.resize(size);
    return b;
  };
  auto withNan = good;
  const float nan = std::nanf("");
  std::memcpy(withNan.data() + 4 + 28 + 12, &nan, 4);
  const struct {
    std::vector<std::uint8_t> bytes;
    bool ok;
    std::size_t count;
  } cases[] = {{good, true, 2},
               {withCount(0, 4), true, 0},
               {withCount(1, 33), true, 1},
               {withCount(2, 59), false, 0},
               {withCount(0xFFFFFFFF, 60), false, 0},
               {withCount(0, 3), false, 0},
               {{}, false, 0},
               {withNan, false, 0}};
  for (const auto& c : cases) {
    std::vector<CellRecord> records(5);
    EXPECT_EQ(parseCellRecords(c.bytes.data(), c.bytes.size(), records), c.ok);
    EXPECT_EQ(records.size(), c.count);
  }
  std::vector<CellRecord> records;
  ASSERT_TRUE(parseCellRecords(good.data(), good.size(), records));
  EXPECT_EQ(records[1].home.z, 6.0f);
  EXPECT_EQ(records[1].axis.x, 1.0f);
  EXPECT_EQ(records[1].angle, 90.0f);
}

TEST(CellsFieldTest, PlacesEachCellAtTheNearestCopyAndInTheCone) {
  const struct {
    Vec3 camera, home, position;
    bool visible;
  } cases[] = {
      {{-10, 0, 0}, {290, 0, -20}, {-10, 0, -20}, true},    // q truncates toward zero
      {{0, 0, 0}, {150, 0, -200}, {150, 0, 100}, false},    // exactly 150 away stays, > 150 moves
      {{610, 0, 0}, {-145, 0, -30}, {755, 0, -30}, false},  // q = 600, s = 10
      {{0, 0, 0}, {0, 0, 5}, {0, 0, 5}, true},              // behind, inside the apex
      {{0, 0, 0}, {0, 0, 15}, {0, 0, 15}, false},           // behind the apex
      {{0, 0, 0}, {20, 0, -20}, {20, 0, -20}, true},        // cos 0.447
      {{0, 0, 0}, {50, 0, -1}, {50, 0, -1}, false},         // beside the camera
  };
  for (const auto& c : cases) {
    CellsField field;
    fill(field, {c.home});
    field.placeCells(c.camera, Vec3(0, 0, -1));
    const Cell& cell = *field.cells()[0];
    EXPECT_EQ(cell.position.x, c.position.x) << c.home.x;
    EXPECT_EQ(cell.position.z, c.position.z) << c.home.x;
    EXPECT_EQ(cell.visible, c.visible) << c.home.x;
    EXPECT_FLOAT_EQ(cell.distance, length(c.camera - c.position));
    EXPECT_FLOAT_EQ(cell.alpha, 1 - 2 * cell.distance / 300);
  }
}

TEST(CellsFieldTest, SortsFarToNearKeepingTheOrderOfEqualDistances) {
  CellsField field;
  field.placeCells(Vec3(0, 0, 0), Vec3(0, 0, -1));  // no cells: nothing to do
  fill(field, {{0, 0, -10}, {0, -50, 0}, {0, 0, -50}, {0, 0, -30}});
  for (int frame = 0; frame < 2; ++frame) {
    field.placeCells(Vec3(0, 0, 0), Vec3(0, 0, -1));
    const float expected[][2] = {{-50, 0}, {0, -50}, {0, -30}, {0, -10}};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(field.cells()[i]->home.y, expected[i][0]) << frame << " " << i;
      EXPECT_EQ(field.cells()[i]->home.z, expected[i][1]) << frame << " " << i;
    }
  }
}

TEST(CellsFieldTest, AnglesWrapBySubtractingOnce) {
  const struct {
    float angle, mitoAngle, dt, expected, expectedMito;
  } cases[] = {{350, 355, 1, 10, 5}, {10, 10, 1, 30, 20}, {350, 100, 40, 790, 140}};
  for (const auto& c : cases) {
    CellsField field;
    fill(field, {{0, 0, 0}});
    Cell& cell = *field.cells()[0];
    cell.angle = c.angle;
    cell.mitoAngle[3] = c.mitoAngle;
    cell.mitoSpeed[3] = 10;
    field.update(c.dt);
    EXPECT_EQ(cell.angle, c.expected);
    EXPECT_EQ(cell.mitoAngle[3], c.expectedMito);
  }
}

TEST(CellsFieldTest, ColoursDrawBlueGreenRed) {
  CellsField field;
  fill(field, {{0, 0, 0}});
  seedRandom(99);
  field.recolour();
  seedRandom(99);
  const float blue = 1 - 0.7f * randomUnit(), green = 1 - 0.7f * randomUnit();
  const float red = 1 - 0.7f * randomUnit();
  const Vec3 c = field.cells()[0]->colour;
  EXPECT_EQ(c.x, red);
  EXPECT_EQ(c.y, green);
  EXPECT_EQ(c.z, blue);
}

// The content generator draws what a new Cell draws, so the layout it writes is the one the
// field's own draws were made around: each cell's jitter, axis and angle must agree.
TEST(CellsFieldTest, GeneratorKeepsTheDrawsOfANewCell) {
  seedRandom(20);
  const std::vector<CellPlacement> layout = generateCells();
  ASSERT_EQ(layout.size(), 64u);
  seedRandom(20);
  for (std::size_t n = 0; n < layout.size(); ++n) {
    const Vec3 grid(75.0f * (n / 16) - 112.5f, 75.0f * (n / 4 % 4) - 112.5f,
                    75.0f * (n % 4) - 112.5f);
    const float jitter = randomUnit() * 28;  // within 28 of the grid: never outside the period
    const Vec3 home = grid + randomDirection() * jitter;
    Cell cell;
    const Vec3 axis = randomDirection();
    EXPECT_EQ(home.x, layout[n].home.x) << n;
    EXPECT_EQ(axis.z, layout[n].axis.z) << n;
    EXPECT_EQ(randomUnit() * 360, layout[n].angle) << n;
  }
}

}  // namespace
