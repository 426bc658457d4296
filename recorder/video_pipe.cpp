#include "recorder/video_pipe.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string_view>
#include <vector>

extern char** environ;

std::string findOnPath(const char* program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return {};
  std::string_view rest = path;
  while (true) {
    std::size_t colon = rest.find(':');
    std::string folder(rest.substr(0, colon));
    if (!folder.empty()) {
      std::string candidate = folder + "/" + program;
      if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    if (colon == std::string_view::npos) return {};
    rest.remove_prefix(colon + 1);
  }
}

VideoPipe::~VideoPipe() { finish(); }

bool VideoPipe::start(const std::string& ffmpeg, const std::string& file, int width, int height,
                      const std::string& rate) {
  int ends[2];
  if (pipe(ends) != 0) return false;
  // A child that dies early must turn writes into errors, not kill the recorder.
  std::signal(SIGPIPE, SIG_IGN);
  std::string size = std::to_string(width) + "x" + std::to_string(height);
  std::vector<std::string> args = {ffmpeg,
                                   "-hide_banner",
                                   "-loglevel",
                                   "error",
                                   "-y",
                                   "-f",
                                   "rawvideo",
                                   "-pix_fmt",
                                   "rgb24",
                                   "-s",
                                   size,
                                   "-framerate",
                                   rate,
                                   "-i",
                                   "-",
                                   "-vf",
                                   "pad=ceil(iw/2)*2:ceil(ih/2)*2",
                                   "-pix_fmt",
                                   "yuv420p",
                                   file};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
  posix_spawn_file_actions_addclose(&actions, ends[0]);
  posix_spawn_file_actions_addclose(&actions, ends[1]);
  int spawned = posix_spawn(&child_, ffmpeg.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[0]);
  if (spawned != 0) {
    child_ = -1;
    close(ends[1]);
    return false;
  }
  fd_ = ends[1];
  return true;
}

bool VideoPipe::write(const RgbImage& frame) {
  if (fd_ < 0 || failed_) return false;
  const std::uint8_t* p = frame.pixels.data();
  std::size_t left = frame.pixels.size();
  while (left > 0) {
    ssize_t n = ::write(fd_, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failed_ = true;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

bool VideoPipe::finish() {
  if (fd_ >= 0) {
    close(fd_);
    fd_ = -1;
  }
  if (child_ < 0) return false;
  int status = 0;
  while (waitpid(child_, &status, 0) < 0 && errno == EINTR) {
  }
  child_ = -1;
  return !failed_ && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
