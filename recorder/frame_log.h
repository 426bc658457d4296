#pragma once
// frames.csv beside the frames: one line per written frame with the show's state as it was
// drawn, so a recording can be checked or cut by scene without looking at its pictures.
//   file,frame,seconds,scene,track_time,camera_x,camera_y,camera_z
// `frame` counts rendered frames from 0, `seconds` is show time at that frame, `scene` is
// Cells, Core or Dna, and the camera is the director's eye point.
#include <cstdint>
#include <cstdio>
#include <string>

#include "render/math.h"

class FrameLog {
 public:
  FrameLog() = default;
  FrameLog(const FrameLog&) = delete;
  FrameLog& operator=(const FrameLog&) = delete;
  virtual ~FrameLog();

  bool open(const std::string& path);
  bool add(const char* file, std::int64_t frame, double seconds, const char* scene, float trackTime,
           Vec3 camera);
  // Flushes and closes; false when anything could not be written.
  bool close();

 private:
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};
