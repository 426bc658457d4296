#include "anim/key_track.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "assets/asset_buffer.h"

namespace {

// Scripts are recognised by the first letters of a line only; what follows does not matter.
bool startsWith(const char* line, const char* word) {
  return std::strncmp(line, word, std::strlen(word)) == 0;
}

// Copies the first `converted` numbers that scanf produced into the field, skipping any that
// are not finite: a number that does not parse leaves its component as it was, and neither
// NaN nor infinity may reach the camera.
void assignParsed(float* field, const float* parsed, int converted) {
  for (int i = 0; i < converted; ++i) {
    if (std::isfinite(parsed[i])) field[i] = parsed[i];
  }
}

void parseKeyLine(const char* line, KeyFrame& key) {
  float v[4];
  if (startsWith(line, "position")) {
    float field[3] = {key.position.x, key.position.y, key.position.z};
    assignParsed(field, v, std::sscanf(line, "position V(%f %f %f)", &v[0], &v[1], &v[2]));
    key.position = Vec3(field[0], field[1], field[2]);
  } else if (startsWith(line, "gradient")) {
    float field[3] = {key.gradient.x, key.gradient.y, key.gradient.z};
    assignParsed(field, v, std::sscanf(line, "gradient V(%f %f %f)", &v[0], &v[1], &v[2]));
    key.gradient = Vec3(field[0], field[1], field[2]);
  } else if (startsWith(line, "quaternion")) {
    float field[4] = {key.rotation.x, key.rotation.y, key.rotation.z, key.rotation.w};
    assignParsed(field, v,
                 std::sscanf(line, "quaternion Q(%f %f %f %f)", &v[0], &v[1], &v[2], &v[3]));
    key.rotation = Quat(field[0], field[1], field[2], field[3]);
  } else if (startsWith(line, "time")) {
    assignParsed(&key.time, v, std::sscanf(line, "time %f", &v[0]));
  } else if (startsWith(line, "freeze")) {
    key.freeze = true;
  }
}

}  // namespace

void KeyTrack::clear() { keys_.clear(); }

void KeyTrack::read(AssetBuffer& buffer) {
  char line[128];
  std::unique_ptr<KeyFrame> key;  // the key being read, while inside one
  bool more = true;
  while (more) {
    line[0] = '\0';
    more = buffer.readLine(line);
    line[sizeof line - 1] = '\0';
    if (!key) {
      if (startsWith(line, "ENDKEYS")) return;
      if (startsWith(line, "keyframe")) key = std::make_unique<KeyFrame>();
      continue;
    }
    if (startsWith(line, "end")) {
      if (keys_.size() == maxKeys) {
        clear();
        return;
      }
      keys_.push_back(std::move(key));
      continue;
    }
    parseKeyLine(line, *key);
  }
  // The data ended inside a key: its remaining lines are unknown, so it is not kept.
}

bool KeyTrack::sampleable() const {
  if (keys_.size() < 2) return false;
  if (!(keys_[0]->time == 0.0f)) return false;
  for (std::size_t i = 1; i < keys_.size(); ++i) {
    if (!std::isfinite(keys_[i]->time) || !(keys_[i]->time > keys_[i - 1]->time)) return false;
  }
  return true;
}

bool KeyTrack::prepare() {
  if (!sampleable()) {
    clear();
    return false;
  }
  const float third = 0.33333334f;
  const std::size_t n = keys_.size();

  KeyFrame& first = *keys_[0];
  first.gradient = keys_[1]->position - first.position;
  first.outControl = slerp(first.rotation, keys_[1]->rotation, third);

  for (std::size_t i = 1; i + 1 < n; ++i) {
    const KeyFrame& prev = *keys_[i - 1];
    KeyFrame& k = *keys_[i];
    const KeyFrame& next = *keys_[i + 1];
    const Vec3 d1 = k.position - prev.position;
    const Vec3 d2 = next.position - k.position;
    k.gradient = d1 + (d2 - d1) * 0.5f;
    const Quat b = slerp(k.rotation, prev.rotation, -third);
    const Quat c = slerp(k.rotation, next.rotation, third);
    const Quat m = slerp(b, c, 0.5f);
    k.inControl = slerp(k.rotation, m, -1.0f);
    k.outControl = slerp(k.rotation, m, 1.0f);
  }

  KeyFrame& last = *keys_[n - 1];
  last.inControl = slerp(last.rotation, keys_[n - 2]->rotation, third);
  last.gradient = last.position - keys_[n - 2]->position;
  return true;
}

bool KeyTrack::findSegment(float t, KeySegment& segment) const {
  for (std::size_t i = 0; i + 1 < keys_.size(); ++i) {
    if (keys_[i]->time <= t && t < keys_[i + 1]->time) {
      segment.first = keys_[i].get();
      segment.second = keys_[i + 1].get();
      return true;
    }
  }
  return false;
}

bool KeyTrack::firstSegment(KeySegment& segment) const {
  if (keys_.size() < 2) return false;
  segment.first = keys_[0].get();
  segment.second = keys_[1].get();
  return true;
}

KeySample KeyTrack::sample(const KeySegment& segment, float t) {
  KeySample result;
  const KeyFrame& a = *segment.first;
  const KeyFrame& b = *segment.second;
  if (a.freeze) {
    result.position = a.position;
    return result;
  }
  const float u = (t - a.time) / (b.time - a.time);
  result.position = hermite(a.position, b.position, a.gradient, b.gradient, u);
  result.rotation = slerpBezier(a.rotation, a.outControl, b.inControl, b.rotation, u);
  result.rotationValid = true;
  return result;
}
