// DnaHelix logic without GL: procedural and strand geometry, the random draw order, the
// replication schedule and the flights.
#include "scenes/dna_helix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "scenes/mesh_batch.h"

namespace {

const Vec3 yAxis{0, 1, 0};

void expectNear(Vec3 a, Vec3 b, float tolerance, const char* what) {
  EXPECT_LE(length(a - b), tolerance) << what;
}

// A profile with every record at `offset`, little-endian floats as the entry holds them.
std::vector<std::uint8_t> profileBytes(Vec3 offset) {
  std::vector<std::uint8_t> bytes(StrandProfile::byteSize);
  for (std::size_t j = 0; j < 12; ++j) {
    const float record[6] = {offset.x, offset.y, offset.z, 0.1f * j, 0.5f, 1.0f};
    std::memcpy(bytes.data() + 24 * j, record, sizeof record);
  }
  return bytes;
}

DnaHelix strandFrom(Vec3 offset, unsigned seed) {
  seedRandom(seed);
  DnaHelix helix;
  const auto bytes = profileBytes(offset);
  EXPECT_TRUE(helix.buildStrandFromBytes(bytes.data(), bytes.size()));
  return helix;
}

// Where the drawing puts a strand point in the left (or right) copy for a helix spin.
Vec3 inCopy(Vec3 p, float spin, bool right) {
  return Transform::identity()
      .translate(Vec3(right ? 300.0f : -300.0f, 0, 0))
      .rotate(yAxis, right ? spin + 90.0f : spin)
      .applyPoint(p);
}

TEST(DnaHelixProcedural, PlacesPairsOnOppositeSidesOfTheAxis) {
  struct Case {
    float angleStep, rise;
    unsigned i;
  } cases[] = {{20, 15, 0}, {20, 15, 1}, {20, 15, 17}, {200, 10, 2} /* 400 wraps to 40 */};
  for (const Case& c : cases) {
    DnaHelix helix;
    helix.buildProceduralGeometry(c.angleStep, c.rise, 18);
    ASSERT_EQ(helix.strandA.size(), 18u);
    const double theta = c.angleStep * c.i * M_PI / 180.0;
    const Vec3 a(40 * std::cos(theta), c.rise * c.i, 40 * std::sin(theta));
    expectNear(helix.strandA[c.i], a, 1e-3f, "A_i");
    expectNear(helix.strandB[c.i], Vec3(-a.x, a.y, -a.z), 1e-3f, "B_i");
  }
}

TEST(DnaHelixProcedural, OnlySpinsAndNeverFlies) {
  DnaHelix helix;
  helix.buildProceduralGeometry(20, 15, 18);
  const unsigned before = randomState();
  helix.startUnzip();
  for (int k = 0; k < 100; ++k) helix.update(0.5f);
  EXPECT_EQ(randomState(), before);
  EXPECT_TRUE(!helix.animated && helix.phase.empty() && helix.pointColour.empty() &&
              helix.startTime.empty() && helix.fragmentSpin.empty());
}

TEST(StrandProfile, RefusesShortOrNonFiniteEntriesWithoutDrawing) {
  auto nan = profileBytes(Vec3(1, 2, 3));
  const float bad = NAN;
  std::memcpy(nan.data() + 24 * 11 + 20, &bad, 4);
  auto longer = profileBytes(Vec3(1, 2, 3));
  longer.resize(400, 0xFF);  // trailing bytes are never read
  auto shorter = profileBytes(Vec3(1, 2, 3));
  shorter.pop_back();
  struct Case {
    std::vector<std::uint8_t> bytes;
    bool ok;
  } cases[] = {{{}, false},
               {shorter, false},
               {nan, false},
               {profileBytes(Vec3(1, 2, 3)), true},
               {longer, true}};
  for (const Case& c : cases) {
    DnaHelix helix;
    seedRandom(9);
    const bool built = helix.buildStrandFromBytes(c.bytes.data(), c.bytes.size());
    EXPECT_EQ(built, c.ok) << c.bytes.size();
    EXPECT_EQ(helix.strandA.size(), c.ok ? 324u : 0u);
    EXPECT_EQ(helix.animated, c.ok);
    if (!c.ok) {
      EXPECT_EQ(randomState(), 9u) << "a refused profile draws nothing";
    }
  }
  DnaHelix missing;  // no archive in the test's folder
  EXPECT_FALSE(missing.loadStrand("dna1.dat"));
  EXPECT_TRUE(missing.strandA.empty());
}

TEST(DnaHelixStrand, CoilsAboutTheVerticalAxis) {
  // With every profile offset zero each atom sits on the coil's centre line.
  const DnaHelix helix = strandFrom(Vec3(0, 0, 0), 1);
  ASSERT_TRUE(helix.strandA.size() == 324 && helix.rungEndA.size() == 27);
  double meanX = 0;
  for (std::size_t l = 0; l < 27; ++l) {
    const Vec3 centre = helix.strandA[12 * l];
    if (l < 18) meanX += centre.x / 18;  // one full turn
    EXPECT_NEAR(centre.y, 28.2843f * l, 1e-2f) << l;
    if (l > 0) {
      EXPECT_NEAR(length(centre - helix.strandA[12 * (l - 1)]), 40.0f, 1e-3f) << l;
    }
    // Rung ends lie at the coil's height on opposite sides of the axis.
    EXPECT_NEAR(helix.rungEndA[l].y, centre.y, 1e-2f) << l;
    expectNear(helix.rungEndB[l], Vec3(-helix.rungEndA[l].x, centre.y, -helix.rungEndA[l].z), 1e-3f,
               "rung end B");
    expectNear(helix.strandB[12 * l], Vec3(-centre.x, centre.y, -centre.z), 1e-3f, "B");
  }
  EXPECT_NEAR(meanX, 0.0, 1e-3);  // the turn is centred on the axis in x
}

TEST(DnaHelixStrand, DrawsFragmentsThenRungColoursThenTheSchedule) {
  const DnaHelix helix = strandFrom(Vec3(1, 2, 3), 77);
  seedRandom(77);
  std::vector<float> draws;
  for (int k = 0; k < 400 * 13 + 27 * 6 + 162; ++k) draws.push_back(randomUnit());
  EXPECT_FLOAT_EQ(helix.fragmentSpin[0], 360 * draws[0]);
  EXPECT_FLOAT_EQ(helix.fragmentColour[399].x, 1 - 0.7f * draws[399 * 13 + 12]);  // red last
  const std::size_t rungs = 400 * 13;                     // 13 draws per fragment
  EXPECT_FLOAT_EQ(helix.rungColourA[0].z, draws[rungs]);  // blue first
  EXPECT_FLOAT_EQ(helix.rungColourB[26].x, draws[rungs + 26 * 6 + 5]);
  const std::size_t schedule = rungs + 27 * 6;
  EXPECT_FLOAT_EQ(helix.startTime[0], 12 + 0.9f * draws[schedule]);
  EXPECT_FLOAT_EQ(helix.startTime[322], (12 + 0.05f * 322) + 0.9f * draws[schedule + 161]);
}

TEST(DnaHelixStrand, UnzipsPairByPairAlongTheFlightPaths) {
  DnaHelix helix = strandFrom(Vec3(10, -5, 2), 5);
  helix.update(3.0f);
  helix.startUnzip();
  const float dt = 0.01f;
  float left322 = -1, arrived322 = -1;
  std::size_t flights = 0;
  while (helix.time < 32.0f) {
    const std::vector<std::uint8_t> before = helix.phase;
    helix.update(dt);
    for (std::size_t i = 0; i < 324; ++i) {
      if (helix.phase[i] == before[i]) continue;
      ASSERT_GT(helix.time, 12.0f) << i;
      ASSERT_EQ(i % 2, 0u) << "odd pairs never fly";
      ASSERT_EQ(helix.phase[i], before[i] + 1) << "small steps pass through the flight";
      if (helix.phase[i] == 1) {
        // The flight starts where the left copy shows the pair now.
        ++flights;
        expectNear(helix.flyA[i], inCopy(helix.strandA[i], helix.spin, false), 0.5f, "A start");
        expectNear(helix.flyB[i], inCopy(helix.strandB[i], helix.spin, false), 0.5f, "B start");
        if (i == 322) left322 = helix.time;
      } else if (i == 322) {
        arrived322 = helix.time;
      }
    }
    // Just before arriving, the atoms are about where the right copy shows them at start + 2.
    for (std::size_t i = 0; i < 324; i += 2) {
      if (helix.phase[i] == 1 && helix.time + dt > helix.startTime[i] + 2.0f) {
        const float endSpin = 120.0f * (helix.startTime[i] + 2.0f);
        expectNear(helix.flyA[i], inCopy(helix.strandA[i], endSpin, true), 12.0f, "A end");
        expectNear(helix.flyB[i], inCopy(helix.strandB[i], endSpin, true), 12.0f, "B end");
      }
    }
  }
  EXPECT_EQ(flights, 162u);
  EXPECT_GT(left322, 28.1f);
  EXPECT_LE(left322, 29.0f + dt);
  EXPECT_NEAR(arrived322 - left322, 2.0f, 2 * dt);
  for (std::size_t i = 0; i < 324; ++i) EXPECT_EQ(helix.phase[i], i % 2 == 0 ? 2 : 0) << i;
}

TEST(DnaHelixStrand, ALargeStepSkipsTheFlight) {
  DnaHelix helix = strandFrom(Vec3(1, 1, 1), 3);
  helix.startUnzip();
  helix.update(11.9f);
  const unsigned before = randomState();
  helix.update(20.0f);  // from 11.9 to 31.9: past every window at once
  EXPECT_EQ(randomState(), before) << "no flight began, so no control point was drawn";
  for (std::size_t i = 0; i < 324; i += 2) EXPECT_EQ(helix.phase[i], 2) << i;
}

}  // namespace
