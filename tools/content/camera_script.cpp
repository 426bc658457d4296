#include "tools/content/camera_script.h"

#include <cmath>
#include <cstdio>

Vec3 perpendicularUp(Vec3 forward, Vec3 up) {
  const Vec3 f = normalize(forward);
  Vec3 u = up - f * dot(up, f);
  if (length(u) < 1e-4f) {
    const Vec3 other = std::fabs(f.y) < 0.9f ? Vec3(0, 1, 0) : Vec3(1, 0, 0);
    u = other - f * dot(other, f);
  }
  return normalize(u);
}

Quat frameRotation(Vec3 forward, Vec3 up) {
  const Vec3 f = normalize(forward);
  const Vec3 u = perpendicularUp(f, up);
  const Vec3 s = cross(u, f);  // column 1, so that x cross y = z
  // r[row][column]
  const double r[3][3] = {{f.x, s.x, u.x}, {f.y, s.y, u.y}, {f.z, s.z, u.z}};
  double x, y, z, w;
  const double trace = r[0][0] + r[1][1] + r[2][2];
  if (trace > 0) {
    const double k = std::sqrt(trace + 1) * 2;
    w = k / 4;
    x = (r[2][1] - r[1][2]) / k;
    y = (r[0][2] - r[2][0]) / k;
    z = (r[1][0] - r[0][1]) / k;
  } else if (r[0][0] > r[1][1] && r[0][0] > r[2][2]) {
    const double k = std::sqrt(1 + r[0][0] - r[1][1] - r[2][2]) * 2;
    w = (r[2][1] - r[1][2]) / k;
    x = k / 4;
    y = (r[0][1] + r[1][0]) / k;
    z = (r[0][2] + r[2][0]) / k;
  } else if (r[1][1] > r[2][2]) {
    const double k = std::sqrt(1 + r[1][1] - r[0][0] - r[2][2]) * 2;
    w = (r[0][2] - r[2][0]) / k;
    x = (r[0][1] + r[1][0]) / k;
    y = k / 4;
    z = (r[1][2] + r[2][1]) / k;
  } else {
    const double k = std::sqrt(1 + r[2][2] - r[0][0] - r[1][1]) * 2;
    w = (r[1][0] - r[0][1]) / k;
    x = (r[0][2] + r[2][0]) / k;
    y = (r[1][2] + r[2][1]) / k;
    z = k / 4;
  }
  const double n = std::sqrt(x * x + y * y + z * z + w * w);
  return Quat(static_cast<float>(x / n), static_cast<float>(y / n), static_cast<float>(z / n),
              static_cast<float>(w / n));
}

std::string scriptText(const std::vector<ScriptKey>& keys, const char* title) {
  std::string out;
  char line[512];
  std::snprintf(line, sizeof line, "# %s\n# %zu keys\n\n", title, keys.size());
  out += line;
  Quat previous(0, 0, 0, 1);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const ScriptKey& k = keys[i];
    Quat q = frameRotation(k.forward, k.up);
    if (i > 0 && q.x * previous.x + q.y * previous.y + q.z * previous.z + q.w * previous.w < 0) {
      q = Quat(-q.x, -q.y, -q.z, -q.w);
    }
    previous = q;
    std::snprintf(line, sizeof line,
                  "keyframe\ntime %.4f\nposition V(%.4f %.4f %.4f)\n"
                  "quaternion Q(%.6f %.6f %.6f %.6f)\nend\n",
                  k.time, k.position.x, k.position.y, k.position.z, q.x, q.y, q.z, q.w);
    out += line;
  }
  out += "ENDKEYS\n";
  return out;
}
