// A long run of the real saver (slow tier: ./test.sh --soak, or this binary with
// PLASMORA_SOAK_MINUTES=N): its resident memory stays flat once the first minute is over, and no
// frame leaves a GL error.
#include <algorithm>
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

  // Samples after the first minute: by then every scene has been drawn and the driver's
  // caches have filled; from there the level moves with the scene (llvmpipe's per-frame
  // buffers), so flat means no upward trend between the first and second half.
  std::vector<long> samples;
  const auto start = std::chrono::steady_clock::now();
  for (auto now = start; now - start < std::chrono::minutes(minutes);
       now = std::chrono::steady_clock::now()) {
    std::this_thread::sleep_for(5s);
    long rss = residentKiB(saver);
    ASSERT_GT(rss, 0) << "the saver ended during the soak";
    if (std::chrono::steady_clock::now() - start >= 1min) samples.push_back(rss);
  }
  input("key a");
  EXPECT_EQ(exitStatus(), 0);

  std::ifstream errors(stderrFile);
  std::stringstream text;
  text << errors.rdbuf();
  ASSERT_GE(samples.size(), 4u);
  auto median = [](std::vector<long> v) {
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
  };
  const std::size_t half = samples.size() / 2;
  const long first = median({samples.begin(), samples.begin() + half});
  const long second = median({samples.begin() + half, samples.end()});
  std::printf(
      "soak: %d min; resident after the first minute %ld..%ld KiB, median %ld KiB "
      "in the first half and %ld KiB in the second\n",
      minutes, *std::min_element(samples.begin(), samples.end()),
      *std::max_element(samples.begin(), samples.end()), first, second);
  // A leak of a kilobyte per frame over the thousands of frames of a soak is far more.
  EXPECT_LT(second - first, 4096) << "resident memory grew during the run";
  EXPECT_EQ(text.str().find("GL error"), std::string::npos) << text.str().substr(0, 2000);
}

}  // namespace
