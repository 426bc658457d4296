#include "recorder/frame_log.h"

FrameLog::~FrameLog() { close(); }

bool FrameLog::open(const std::string& path) {
  file_ = std::fopen(path.c_str(), "w");
  failed_ = file_ == nullptr;
  return !failed_ &&
         std::fputs("file,frame,seconds,scene,track_time,camera_x,camera_y,camera_z\n", file_) >= 0;
}

bool FrameLog::add(const char* file, std::int64_t frame, double seconds, const char* scene,
                   float trackTime, Vec3 camera) {
  if (file_ == nullptr) return false;
  if (std::fprintf(file_, "%s,%lld,%.4f,%s,%.4f,%.3f,%.3f,%.3f\n", file,
                   static_cast<long long>(frame), seconds, scene, trackTime, camera.x, camera.y,
                   camera.z) < 0)
    failed_ = true;
  return !failed_;
}

bool FrameLog::close() {
  if (file_ == nullptr) return !failed_;
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}
