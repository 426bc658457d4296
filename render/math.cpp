#include "render/math.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float length(Vec3 v) { return std::sqrt(dot(v, v)); }

Vec3 normalize(Vec3 v) { return v / length(v); }

Vec3 lerp(Vec3 a, Vec3 b, float s) { return a + s * (b - a); }

float hermite(float p0, float p1, float m0, float m1, float s) {
  const float s2 = s * s;
  const float s3 = s * s2;
  const float h00 = 2 * s3 - 3 * s2 + 1;
  const float h10 = s3 - 2 * s2 + s;
  const float h01 = -2 * s3 + 3 * s2;
  const float h11 = s3 - s2;
  return h00 * p0 + h10 * m0 + h01 * p1 + h11 * m1;
}

Vec3 hermite(Vec3 p0, Vec3 p1, Vec3 m0, Vec3 m1, float s) {
  return {hermite(p0.x, p1.x, m0.x, m1.x, s), hermite(p0.y, p1.y, m0.y, m1.y, s),
          hermite(p0.z, p1.z, m0.z, m1.z, s)};
}

Vec3 randomDirection() {
  // Separate statements keep the draw order x, y, z.
  const float x = randomUnit() * 20 - 10;
  const float y = randomUnit() * 20 - 10;
  const float z = randomUnit() * 20 - 10;
  return normalize(Vec3(x, y, z));
}

bool glRotationMatrix(Vec3 axis, float angleDegrees, double (&r)[3][3]) {
  double ax = axis.x, ay = axis.y, az = axis.z;
  const double len = std::sqrt(ax * ax + ay * ay + az * az);
  if (len == 0) return false;
  ax /= len;
  ay /= len;
  az /= len;
  const double rad = angleDegrees * 3.14159265358979323846 / 180.0;
  const double c = std::cos(rad), s = std::sin(rad), t = 1 - c;
  const double m[3][3] = {
      {ax * ax * t + c, ax * ay * t - az * s, ax * az * t + ay * s},
      {ay * ax * t + az * s, ay * ay * t + c, ay * az * t - ax * s},
      {az * ax * t - ay * s, az * ay * t + ax * s, az * az * t + c},
  };
  std::copy(&m[0][0], &m[0][0] + 9, &r[0][0]);
  return true;
}

Vec3 rotateAboutAxis(Vec3 v, Vec3 axis, float angleDegrees) {
  // R as glRotatef builds it (in double, as the GL matrix path effectively does), applied
  // transposed: R^T v turns v by -angle.
  double r[3][3];
  if (!glRotationMatrix(axis, angleDegrees, r)) return v;
  const double vx = v.x, vy = v.y, vz = v.z;
  return {static_cast<float>(r[0][0] * vx + r[1][0] * vy + r[2][0] * vz),
          static_cast<float>(r[0][1] * vx + r[1][1] * vy + r[2][1] * vz),
          static_cast<float>(r[0][2] * vx + r[1][2] * vy + r[2][2] * vz)};
}

Vec3 rotateAboutPoint(Vec3& v, Vec3 axis, Vec3 centre, float angleDegrees) {
  v = centre + rotateAboutAxis(v - centre, axis, angleDegrees);
  return v;
}

Quat slerp(const Quat& q0, const Quat& q1in, float t) {
  double cosTheta = static_cast<double>(q0.x) * q1in.x + static_cast<double>(q0.y) * q1in.y +
                    static_cast<double>(q0.z) * q1in.z + static_cast<double>(q0.w) * q1in.w;
  Quat q1 = q1in;
  if (cosTheta < 0) {
    q1 = Quat(-q1.x, -q1.y, -q1.z, -q1.w);
    cosTheta = -cosTheta;
  }
  double s0, s1;
  if (1 - cosTheta > 0.0001) {
    const double theta = std::acos(cosTheta);
    const double sinTheta = std::sin(theta);
    s0 = std::sin((1 - t) * theta) / sinTheta;
    s1 = std::sin(t * theta) / sinTheta;
  } else {
    s0 = 1.0 - t;
    s1 = t;
  }
  return Quat(static_cast<float>(s0 * q0.x + s1 * q1.x), static_cast<float>(s0 * q0.y + s1 * q1.y),
              static_cast<float>(s0 * q0.z + s1 * q1.z), static_cast<float>(s0 * q0.w + s1 * q1.w));
}

Quat slerpBezier(const Quat& q0, const Quat& a, const Quat& b, const Quat& q1, float t) {
  const Quat p = slerp(q0, a, t);
  const Quat r = slerp(a, b, t);
  const Quat s = slerp(b, q1, t);
  const Quat u = slerp(p, r, t);
  const Quat v = slerp(r, s, t);
  return slerp(u, v, t);
}

Matrix4 toMatrix(const Quat& q) {
  const float x = q.x, y = q.y, z = q.z, w = q.w;
  return Matrix4{{
      1 - 2 * (y * y + z * z),
      2 * (x * y - z * w),
      2 * (x * z + y * w),
      0,
      2 * (x * y + z * w),
      1 - 2 * (x * x + z * z),
      2 * (y * z - x * w),
      0,
      2 * (x * z - y * w),
      2 * (y * z + x * w),
      1 - 2 * (x * x + y * y),
      0,
      0,
      0,
      0,
      1,
  }};
}

namespace {
std::uint32_t generatorState = 1;  // the state before any seeding
}

int randomInt() {
  generatorState = generatorState * 214013u + 2531011u;
  return static_cast<int>((generatorState >> 16) & 0x7FFF);
}

float randomUnit() { return static_cast<float>(randomInt() / 32767.0); }

void seedRandom(unsigned int seed) { generatorState = seed; }

unsigned int randomState() { return generatorState; }
