#pragma once
// The small value types of the 3-D world: vectors (also RGB colours), quaternions, 4x4 float
// matrices, and the interpolation the camera tracks and scene objects need. Single precision
// throughout; intermediates may be wider, each stored result is rounded to float once.

struct Vec3 {
  float x, y, z;  // deliberately left uninitialised by default, like the float it replaces
  Vec3() = default;
  constexpr Vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
  Vec3& operator+=(const Vec3& b) {
    x += b.x;
    y += b.y;
    z += b.z;
    return *this;
  }
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 v, float s) { return {v.x * s, v.y * s, v.z * s}; }
inline Vec3 operator*(float s, Vec3 v) { return v * s; }
inline Vec3 operator/(Vec3 v, float s) { return {v.x / s, v.y / s, v.z / s}; }
inline Vec3 operator-(Vec3 v) { return {-v.x, -v.y, -v.z}; }

float dot(Vec3 a, Vec3 b);
Vec3 cross(Vec3 a, Vec3 b);
float length(Vec3 v);
// No guard against zero length: callers never pass a zero vector.
Vec3 normalize(Vec3 v);
Vec3 lerp(Vec3 a, Vec3 b, float s);

// Cubic Hermite point for s in 0..1; tangents are per segment, not per second.
Vec3 hermite(Vec3 p0, Vec3 p1, Vec3 m0, Vec3 m1, float s);
float hermite(float p0, float p1, float m0, float m1, float s);

// A random unit vector from three draws (x, y, z) of randomUnit().
Vec3 randomDirection();

// The rotation glRotatef(angleDegrees, axis) builds, row-major (element (r, c) at r[r][c]),
// in double. False, leaving r alone, for a zero axis (glRotatef then changes nothing).
bool glRotationMatrix(Vec3 axis, float angleDegrees, double (&r)[3][3]);

// v turned by -angleDegrees about the axis through the origin, i.e. R^T v with R the
// right-handed rotation glRotatef(angleDegrees, axis) builds.
Vec3 rotateAboutAxis(Vec3 v, Vec3 axis, float angleDegrees);

// The same turn about an axis through centre; v is updated in place and returned.
Vec3 rotateAboutPoint(Vec3& v, Vec3 axis, Vec3 centre, float angleDegrees);

class Quat {
 public:
  float x = 0, y = 0, z = 0, w = 1;
  Quat() = default;
  Quat(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
  Quat(const Quat&) = default;
  Quat& operator=(const Quat&) = default;
  virtual ~Quat() = default;
};

// A 4x4 float array. toMatrix writes it row-major (element (r, c) at 4r + c).
struct Matrix4 {
  float m[16];
  float& operator[](int i) { return m[i]; }
  float operator[](int i) const { return m[i]; }
};

// Spherical interpolation along the shorter arc; t may lie outside 0..1 (extrapolation).
Quat slerp(const Quat& q0, const Quat& q1, float t);

// Cubic Bezier on the rotation sphere (de Casteljau with slerp).
Quat slerpBezier(const Quat& q0, const Quat& a, const Quat& b, const Quat& q1, float t);

// Rotation matrix of q, row-major, without normalising q first.
Matrix4 toMatrix(const Quat& q);

// The one random source: 0..32767 divided by 32767, so both 0 and 1 occur. The generator
// is the same linear congruential one on every OS, so a seed gives the same show everywhere.
float randomUnit();
// The raw draw, 0..32767.
int randomInt();
void seedRandom(unsigned int seed);
// The generator's whole state: seedRandom(randomState()) later replays the same draws.
unsigned int randomState();
