// Whole frames of the show in the off-screen context, at 1280x720 or at the size given as
// --size=WxH (before the benchmark's own flags), one benchmark per scene (the second of frames
// that starts three seconds into it), each beside an empty frame (clear and read-back only) and
// a floor frame (the same frame without the scene's own objects: clear, both background passes,
// tunnel, overlay and read-back) timed in the same iterations; and the loading of all content
// beside one plain read of data.sdd.
//   ms_frame   milliseconds per frame of the scene (drawn, presented and read back)
//   fps        frames per second that makes
//   x_empty    how many times an empty frame of the same size the scene's frame takes
//   x_floor    how many times the floor frame the scene's frame takes
//   floor_cpu  processor time of the floor frame, as cpu_ms
//   x_read     for the loading: how many times a plain read of data.sdd it takes
//   cpu_ms     processor time of the whole process per frame, all of the renderer's threads
//   faults     page faults per frame (memory the process or the driver took afresh)
//   faults_max the most page faults of any one measured frame
// Wall-clock times: Mesa's software renderer draws on threads of its own, so the time of the
// calling thread alone would miss most of the work. On a shared, busy machine the wall-clock
// figures grow with the load; cpu_ms much less so.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "anim/director.h"
#include "platform/offscreen_context.h"
#include "render/frame_presenter.h"
#include "render/math.h"
#include "settings/settings.h"
#include "show/saver_content.h"
#include "show/show_objects.h"

namespace {

int width = 1280, height = 720;
constexpr float dt = 1.0f / 30.0f;
constexpr int warmUpFrames = 90;
constexpr int measuredFrames = 30;

OffscreenContext* context = nullptr;
bool loaded = false;

double processCpu() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The recorder's presenter: the finished frame is read back, as a recording reads it, into a
// buffer kept from frame to frame.
std::vector<std::uint8_t> pixels;
void readBack(void*) {
  readOffscreenPixels(context, pixels);
  benchmark::DoNotOptimize(pixels.data());
}

long pageFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt + usage.ru_majflt;
}

bool start() {
  if (context != nullptr) return true;
  std::error_code error;
  std::filesystem::current_path(PLASMORA_DATA_DIR, error);
  if (error || !std::filesystem::exists("data.sdd")) return false;
  // The saver's defaults at the benchmark's size, with every overlay on.
  applyStoredValues(settings, {}, nullptr, PLASMORA_DATA_DIR);
  settings.EnableMusic = false;
  settings.ShowFPS = true;
  settings.Width = width;
  settings.Height = height;
  seedRandom(1);
  context = createOffscreenContext(width, height);
  if (context == nullptr) return false;
  startContent();
  return true;
}

std::vector<char> readWhole(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

void loadAllContent(benchmark::State& state) {
  if (!start()) {
    state.SkipWithError("no off-screen context or no data.sdd");
    return;
  }
  double loadSeconds = 0, readSeconds = 0;
  for (auto _ : state) {
    double t0 = now();
    loadContent();
    double t1 = now();
    std::vector<char> bytes = readWhole("data.sdd");
    benchmark::DoNotOptimize(bytes.data());
    double t2 = now();
    loadSeconds += t1 - t0;
    readSeconds += t2 - t1;
    state.SetIterationTime(t1 - t0);
  }
  loaded = true;
  state.counters["ms_read"] = readSeconds * 1e3 / state.iterations();
  state.counters["x_read"] = readSeconds > 0 ? loadSeconds / readSeconds : 0;
}
// Loading makes the process-wide objects once: one measured load.
BENCHMARK(loadAllContent)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Makes `scene` the one on screen the way the show enters it: the scene before it runs out.
void enter(SceneState scene) {
  SceneState before = scene == Cells ? Dna : scene == Core ? Cells : Core;
  sceneState = before;
  trackTime = 1e6f;
  advanceObjects(dt);
  directAndDraw(dt);
}

// The floor frame: the frame as drawn now with the scene objects left out. Nothing moves and
// the frame-rate window and the shell's spin are kept as they were, so the whole frames that
// follow are drawn exactly as without it.
void floorFrame() {
  const FrameScene whole = frameComposition.scene;
  const float angle = frameComposition.backgroundAngle;
  const FrameRateWindow rate = frameComposition.rate;
  frameComposition.scene.cellsField = nullptr;
  frameComposition.scene.dnaHelix = nullptr;
  frameComposition.scene.nucleus = nullptr;
  frameComposition.drawFrame(0.0f);
  frameComposition.scene = whole;
  frameComposition.backgroundAngle = angle;
  frameComposition.rate = rate;
}

void frameOf(benchmark::State& state, SceneState scene) {
  if (!start() || !loaded) {
    state.SkipWithError("content not loaded");
    return;
  }
  enter(scene);
  // Three seconds into the scene: past the fly-in and its tunnel, which only the first seconds
  // show. With the same benchmarks selected, every run measures the same frames.
  for (int i = 0; i < warmUpFrames; ++i) {
    advanceObjects(dt);
    directAndDraw(dt);
  }
  setFramePresenter(&readBack, nullptr);
  double frameSeconds = 0, emptySeconds = 0, floorSeconds = 0, cpuSeconds = 0, floorCpu = 0;
  long faults = 0, mostFaults = 0;
  for (auto _ : state) {
    if (sceneState != scene) enter(scene);  // a short script ran out
    long f0 = pageFaults();
    double c0 = processCpu();
    double t0 = now();
    advanceObjects(dt);
    directAndDraw(dt);
    double t1 = now();
    cpuSeconds += processCpu() - c0;
    const long frameFaults = pageFaults() - f0;
    faults += frameFaults;
    mostFaults = std::max(mostFaults, frameFaults);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    presentFrame();
    double t2 = now();
    double c2 = processCpu();
    floorFrame();
    double t3 = now();
    floorCpu += processCpu() - c2;
    frameSeconds += t1 - t0;
    emptySeconds += t2 - t1;
    floorSeconds += t3 - t2;
    state.SetIterationTime(t1 - t0);
  }
  setFramePresenter(nullptr, nullptr);
  double perFrame = frameSeconds / state.iterations();
  state.counters["ms_frame"] = perFrame * 1e3;
  state.counters["fps"] = perFrame > 0 ? 1 / perFrame : 0;
  state.counters["cpu_ms"] = cpuSeconds * 1e3 / state.iterations();
  state.counters["faults"] = static_cast<double>(faults) / state.iterations();
  state.counters["faults_max"] = static_cast<double>(mostFaults);
  state.counters["floor_cpu"] = floorCpu * 1e3 / state.iterations();
  state.counters["x_floor"] = floorSeconds > 0 ? frameSeconds / floorSeconds : 0;
  state.counters["ms_empty"] = emptySeconds * 1e3 / state.iterations();
  state.counters["x_empty"] = emptySeconds > 0 ? frameSeconds / emptySeconds : 0;
}

// A fixed count: every run measures the same second of each scene.
BENCHMARK_CAPTURE(frameOf, cells, Cells)
    ->Iterations(measuredFrames)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(frameOf, core, Core)
    ->Iterations(measuredFrames)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(frameOf, dna, Dna)
    ->Iterations(measuredFrames)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // --size=WxH is ours; the rest goes to the benchmark library.
  int kept = 0;
  for (int i = 0; i < argc; ++i) {
    if (i > 0 && std::strncmp(argv[i], "--size=", 7) == 0) {
      if (std::sscanf(argv[i] + 7, "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0) {
        std::fprintf(stderr, "show_frame_bench: --size wants WxH, e.g. 1920x1080\n");
        return 2;
      }
      continue;
    }
    argv[kept++] = argv[i];
  }
  argc = kept;
  std::fprintf(stderr, "frame size %dx%d\n", width, height);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
