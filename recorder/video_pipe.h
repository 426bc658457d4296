#pragma once
// Frames piped into ffmpeg as raw RGB, which encodes them into a video file whose kind follows
// from the file's extension (.mp4, .webm, .mkv...). ffmpeg runs as a child process with its
// arguments passed as they are (no shell), so any file name is safe. Odd sizes are padded by
// one black row or column, since the usual video formats want even sides.
#include <sys/types.h>
#include <string>

#include "recorder/rgb_image.h"

// The full path of `program` found along PATH; empty when it is not there.
std::string findOnPath(const char* program);

class VideoPipe {
 public:
  VideoPipe() = default;
  VideoPipe(const VideoPipe&) = delete;
  VideoPipe& operator=(const VideoPipe&) = delete;
  virtual ~VideoPipe();

  // Starts `ffmpeg` writing `file` at `rate` frames per second ("30", "15/2"...).
  bool start(const std::string& ffmpeg, const std::string& file, int width, int height,
             const std::string& rate);
  // False once ffmpeg has stopped taking frames.
  bool write(const RgbImage& frame);
  // Closes the pipe and waits for ffmpeg; true when it encoded everything and succeeded.
  bool finish();

 private:
  int fd_ = -1;
  pid_t child_ = -1;
  bool failed_ = false;
};
