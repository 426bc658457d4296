#include <gtest/gtest.h>

#include <cmath>

#include "render/math.h"

namespace {

void expectQuat(const Quat& q, float x, float y, float z, float w, float eps = 1e-6f) {
  EXPECT_NEAR(q.x, x, eps);
  EXPECT_NEAR(q.y, y, eps);
  EXPECT_NEAR(q.z, z, eps);
  EXPECT_NEAR(q.w, w, eps);
}

void expectVec(Vec3 v, float x, float y, float z, float eps = 1e-6f) {
  EXPECT_NEAR(v.x, x, eps);
  EXPECT_NEAR(v.y, y, eps);
  EXPECT_NEAR(v.z, z, eps);
}

// Rotation about z by the given angle, as a unit quaternion.
Quat aboutZ(double degrees) {
  const double h = degrees * M_PI / 360.0;
  return Quat(0, 0, static_cast<float>(std::sin(h)), static_cast<float>(std::cos(h)));
}

TEST(Slerp, QAndMinusQAreTheSameRotation) {
  const Quat q(0.5f, 0.5f, 0.5f, 0.5f);
  const Quat minus(-0.5f, -0.5f, -0.5f, -0.5f);
  for (float t : {0.0f, 0.25f, 0.5f, 1.0f, -1.0f / 3, 2.0f})
    expectQuat(slerp(q, minus, t), 0.5f, 0.5f, 0.5f, 0.5f);
}

TEST(Slerp, EndPointsAndShorterArc) {
  const Quat a = aboutZ(10), b = aboutZ(100);
  expectQuat(slerp(a, b, 0), a.x, a.y, a.z, a.w);
  expectQuat(slerp(a, b, 1), b.x, b.y, b.z, b.w);
  const Quat mid = slerp(a, b, 0.5f), want = aboutZ(55);
  expectQuat(mid, want.x, want.y, want.z, want.w);
  // A flipped target still takes the short way and ends at -b.
  const Quat negB(-b.x, -b.y, -b.z, -b.w);
  const Quat end = slerp(a, negB, 1);
  expectQuat(end, b.x, b.y, b.z, b.w);
}

TEST(Slerp, ExtrapolatesAlongTheGreatCircle) {
  // Track tangents use t = -1/3 and t = -1.
  const Quat a = aboutZ(30), b = aboutZ(60);
  const Quat back = slerp(a, b, -1), want = aboutZ(0);
  expectQuat(back, want.x, want.y, want.z, want.w, 1e-5f);
  const Quat third = slerp(a, b, -1.0f / 3), want3 = aboutZ(20);
  expectQuat(third, want3.x, want3.y, want3.z, want3.w, 1e-5f);
}

TEST(Slerp, ThresholdPicksLinearWeightsUpToAndIncludingOneTenThousandth) {
  // Quaternions chosen so that 1 - cos(theta) lands either side of 0.0001 (computed in
  // double from the float components, as the interpolation does).
  auto gapFor = [](const Quat& a, const Quat& b) {
    return 1.0 - (double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z + double(a.w) * b.w);
  };
  const Quat id(0, 0, 0, 1);
  // Below the threshold: linear weights, so the midpoint is the plain average (not unit).
  Quat nearQ = aboutZ(1.0);  // 1 - cos(0.5 deg) ~ 3.8e-5
  ASSERT_LT(gapFor(id, nearQ), 0.0001);
  Quat mid = slerp(id, nearQ, 0.5f);
  expectQuat(mid, 0, 0, 0.5f * nearQ.z, 0.5f * (1 + nearQ.w), 1e-7f);
  // Above it: the spherical weights keep the result on the unit sphere.
  Quat farQ = aboutZ(2.0);  // 1 - cos(1 deg) ~ 1.5e-4
  ASSERT_GT(gapFor(id, farQ), 0.0001);
  mid = slerp(id, farQ, 0.5f);
  EXPECT_NEAR(std::sqrt(mid.z * mid.z + mid.w * mid.w), 1.0, 1e-6);
  // Exactly at the threshold the linear branch is taken: w = 0.9999 gives 1 - cos = 1e-4
  // (to the precision of the float component) and equal weights.
  const Quat edge(0, 0, 0, 0.9999f);
  const double gap = gapFor(id, edge);
  const Quat r = slerp(id, edge, 0.5f);
  if (gap > 0.0001) {
    EXPECT_NE(r.w, 0.5f * (1 + edge.w));
  } else {
    EXPECT_FLOAT_EQ(r.w, 0.5f * (1 + edge.w));
  }
}

TEST(SlerpBezier, EndPoints) {
  const Quat q0 = aboutZ(0), a = aboutZ(20), b = aboutZ(70), q1 = aboutZ(90);
  const Quat s = slerpBezier(q0, a, b, q1, 0), e = slerpBezier(q0, a, b, q1, 1);
  expectQuat(s, q0.x, q0.y, q0.z, q0.w);
  expectQuat(e, q1.x, q1.y, q1.z, q1.w);
}

TEST(ToMatrix, IdentityAndZeroQuaternionGiveIdentity) {
  for (const Quat& q : {Quat(0, 0, 0, 1), Quat(0, 0, 0, 0)}) {
    const Matrix4 m = toMatrix(q);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
  }
}

TEST(ToMatrix, RowMajorColumnsAreTheRotatedAxes) {
  // 90 degrees about z takes local x to +y; the camera reads column 0 at indices 0, 4, 8.
  const Matrix4 m = toMatrix(aboutZ(90));
  expectVec(Vec3(m[0], m[4], m[8]), 0, 1, 0);
  expectVec(Vec3(m[2], m[6], m[10]), 0, 0, 1);
  EXPECT_NEAR(m[1], -1.0f, 1e-6f);  // row 0, column 1: R * y = -x
}

TEST(Hermite, EndPointsIgnoreTangents) {
  const Vec3 p0(1, 2, 3), p1(-4, 5, 6), m0(100, -50, 7), m1(-9, 8, 1000);
  expectVec(hermite(p0, p1, m0, m1, 0), 1, 2, 3);
  expectVec(hermite(p0, p1, m0, m1, 1), -4, 5, 6);
  // With tangents equal to the chord the curve is the straight line at constant speed.
  const Vec3 chord = p1 - p0;
  const Vec3 q = hermite(p0, p1, chord, chord, 0.25f);
  const Vec3 want = lerp(p0, p1, 0.25f);
  expectVec(q, want.x, want.y, want.z, 1e-5f);
}

TEST(RotateAboutAxis, WorkedValues) {
  expectVec(rotateAboutAxis(Vec3(1, 0, 0), Vec3(0, 0, 1), 90), 0, -1, 0);
  // The axis need not be unit length; the turn is by the negated angle.
  expectVec(rotateAboutAxis(Vec3(0, 1, 0), Vec3(5, 0, 0), 90), 0, 0, -1);
  Vec3 p(2, 1, 0);
  rotateAboutPoint(p, Vec3(0, 0, 1), Vec3(1, 1, 0), 180);
  expectVec(p, 0, 1, 0, 1e-6f);
}

TEST(Random, SequenceIsFixedForASeed) {
  // The first draws of the classic C runtime generator from its unseeded state (seed 1).
  seedRandom(1);
  EXPECT_EQ(randomInt(), 41);
  EXPECT_EQ(randomInt(), 18467);
  EXPECT_EQ(randomInt(), 6334);
  seedRandom(12345);
  const int a = randomInt(), b = randomInt();
  seedRandom(12345);
  EXPECT_EQ(randomInt(), a);
  EXPECT_EQ(randomInt(), b);
}

TEST(Random, UnitReachesBothEnds) {
  // Every state is visited within 2^32 steps, but the low 15 bits of the output cycle much
  // sooner: search a bounded window for draws of 0 and 32767.
  seedRandom(7);
  bool sawZero = false, sawOne = false;
  for (int i = 0; i < 4000000 && !(sawZero && sawOne); ++i) {
    const float u = randomUnit();
    ASSERT_GE(u, 0.0f);
    ASSERT_LE(u, 1.0f);
    sawZero |= u == 0.0f;
    sawOne |= u == 1.0f;
  }
  EXPECT_TRUE(sawZero);
  EXPECT_TRUE(sawOne);
}

TEST(Random, DirectionIsUnitAndNeverZero) {
  seedRandom(99);
  for (int i = 0; i < 20000; ++i) {
    const Vec3 d = randomDirection();
    ASSERT_TRUE(std::isfinite(d.x) && std::isfinite(d.y) && std::isfinite(d.z));
    ASSERT_NEAR(length(d), 1.0f, 1e-5f);
  }
}

}  // namespace
