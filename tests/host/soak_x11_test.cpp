// A long run of the real saver (slow tier: ./test.sh --soak, or this binary with
// PLASMORA_SOAK_MINUTES=N): its resident memory stays flat once the first minute is over, and no
// frame leaves a GL error.
#include <fstream>
#include <sstream>

#include "tests/host/saver_x11_fixture.h"

namespace {

// Resident memory in KiB, from /proc; -1 when the process is gone.
long residentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

TEST_F(SaverX11, SoakMemoryStaysFlatAndGlStaysClean) {
  const char* minutesText = std::getenv("PLASMORA_SOAK_MINUTES");
  if (minutesText == nullptr || *minutesText == '\0')
    GTEST_SKIP() << "set PLASMORA_SOAK_MINUTES to run the soak (./test.sh --soak)";
  const int minutes = std::max(2, std::atoi(minutesText));
  writeSettings("EnableMusic=0\nShowFPS=1\nDefGamma=1\n");
  stderrFile = (config / "stderr.txt").string();
  environment.emplace_back("PLASMORA_CHECK_GL", "1");
  startSaver();

  long settled = 0, low = 0, high = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto now = start; now - start < std::chrono::minutes(minutes);
       now = std::chrono::steady_clock::now()) {
    std::this_thread::sleep_for(5s);
    long rss = residentKiB(saver);
    ASSERT_GT(rss, 0) << "the saver ended during the soak";
    if (std::chrono::steady_clock::now() - start < 1min) continue;
    if (settled == 0) settled = low = high = rss;
    low = std::min(low, rss);
    high = std::max(high, rss);
  }
  input("key a");
  EXPECT_EQ(exitStatus(), 0);

  std::ifstream errors(stderrFile);
  std::stringstream text;
  text << errors.rdbuf();
  std::printf("soak: %d min; resident after 1 min %ld KiB, then %ld..%ld KiB\n", minutes, settled,
              low, high);
  // A few pages of allocator and driver noise; a leak of even a few bytes per frame over
  // tens of thousands of frames is far more.
  EXPECT_LT(high - settled, 4096) << "resident memory grew during the run";
  EXPECT_EQ(text.str().find("GL error"), std::string::npos) << text.str().substr(0, 2000);
}

}  // namespace
