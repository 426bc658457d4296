#include "recorder/progress_line.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace {
double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
}  // namespace

void formatProgress(char* out, int size, std::int64_t done, std::int64_t total, double elapsed) {
  double rate = elapsed > 0 ? done / elapsed : 0;
  if (rate <= 0) {
    std::snprintf(out, size, "%lld/%lld frames", static_cast<long long>(done),
                  static_cast<long long>(total));
    return;
  }
  long long left = static_cast<long long>((total - done) / rate + 0.5);
  std::snprintf(out, size, "%lld/%lld frames  %.1f fps  %lld:%02lld left",
                static_cast<long long>(done), static_cast<long long>(total), rate, left / 60,
                left % 60);
}

ProgressLine::ProgressLine(std::int64_t total)
    : total_(total), shown_(isatty(STDERR_FILENO) != 0), start_(now()) {}

void ProgressLine::update(std::int64_t done) {
  if (!shown_) return;
  double t = now();
  if (done < total_ && lastDrawn_ >= 0 && t - lastDrawn_ < 0.1) return;
  lastDrawn_ = t;
  char line[128];
  formatProgress(line, sizeof line, done, total_, t - start_);
  // Padding clears what a longer earlier line left.
  std::fprintf(stderr, "\r%-60s", line);
  std::fflush(stderr);
}

void ProgressLine::finish() {
  if (shown_ && lastDrawn_ >= 0) std::fputc('\n', stderr);
  lastDrawn_ = -1;
}
