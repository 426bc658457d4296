// Per-frame CPU work of the scenes, each beside a plain loop over the same number of records:
// the field of cells (update, then placement, view cone and the far-to-near sort for a moving
// camera) and a strand-built DNA helix during its unzip.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "assets/tools/cell_generator.h"
#include "scenes/cells_field.h"
#include "scenes/dna_helix.h"

namespace {

constexpr float frameTime = 0.016f;

bool loadLayout(CellsField& field) {
  seedRandom(20);
  const std::vector<std::uint8_t> bytes = encodeCells(generateCells());
  return field.addCells(bytes.data(), bytes.size());
}

// A camera flying a slow curve through the field, so the sort sees the usual nearly sorted list.
void cameraAt(int frame, Vec3& p, Vec3& d) {
  const float t = static_cast<float>(frame % 4000) * frameTime;
  p = Vec3(27 * t, 40 * std::sin(0.3f * t), -15 * t);
  d = normalize(Vec3(27, 12 * std::cos(0.3f * t), -15));
}

void cellsFrame(benchmark::State& state) {
  CellsField field;
  if (!loadLayout(field)) return state.SkipWithError("layout did not load");
  int frame = 0;
  for (auto _ : state) {
    Vec3 p, d;
    cameraAt(frame++, p, d);
    field.update(frameTime);
    field.placeCells(p, d);
    benchmark::DoNotOptimize(field.cells().front().get());
  }
  state.counters["records"] = static_cast<double>(field.cells().size());
}

// The same records, each moved and measured once: the least a frame could cost.
void cellsPlainLoop(benchmark::State& state) {
  CellsField field;
  if (!loadLayout(field)) return state.SkipWithError("layout did not load");
  std::vector<Vec3> homes;
  for (const auto& cell : field.cells()) homes.push_back(cell->home);
  std::vector<float> distance(homes.size());
  int frame = 0;
  for (auto _ : state) {
    Vec3 p, d;
    cameraAt(frame++, p, d);
    for (std::size_t i = 0; i < homes.size(); ++i) distance[i] = length(p - homes[i]);
    benchmark::DoNotOptimize(distance.data());
    benchmark::ClobberMemory();
  }
  state.counters["records"] = static_cast<double>(homes.size());
}

// A strand profile: twelve atoms on a small ring, each with its own colour.
std::vector<std::uint8_t> profileBytes() {
  std::vector<float> values;
  for (int i = 0; i < 12; ++i) {
    const float a = 0.5236f * static_cast<float>(i);
    for (float v : {6 * std::cos(a), 6 * std::sin(a), 0.5f * i, 0.3f, 0.5f, 0.05f * i}) {
      values.push_back(v);
    }
  }
  std::vector<std::uint8_t> bytes(values.size() * 4);
  std::memcpy(bytes.data(), values.data(), bytes.size());
  return bytes;
}

void helixUpdate(benchmark::State& state) {
  DnaHelix helix;
  const std::vector<std::uint8_t> profile = profileBytes();
  if (!helix.buildStrandFromBytes(profile.data(), profile.size())) {
    return state.SkipWithError("strand did not build");
  }
  helix.startUnzip();
  for (auto _ : state) {
    helix.update(frameTime);
    // Keep measuring the unzip itself rather than the quiet strand after it.
    if (helix.time > 34) helix.startUnzip();
    benchmark::DoNotOptimize(helix.flyA.data());
  }
  state.counters["records"] = static_cast<double>(helix.pairCount());
}

void helixPlainLoop(benchmark::State& state) {
  DnaHelix helix;
  const std::vector<std::uint8_t> profile = profileBytes();
  if (!helix.buildStrandFromBytes(profile.data(), profile.size())) {
    return state.SkipWithError("strand did not build");
  }
  std::vector<Vec3> moved(helix.pairCount());
  float t = 0;
  for (auto _ : state) {
    t += frameTime;
    for (std::size_t i = 0; i < moved.size(); ++i) moved[i] = helix.strandA[i] * t;
    benchmark::DoNotOptimize(moved.data());
    benchmark::ClobberMemory();
  }
  state.counters["records"] = static_cast<double>(helix.pairCount());
}

BENCHMARK(cellsFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(cellsPlainLoop)->Unit(benchmark::kMicrosecond);
BENCHMARK(helixUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(helixPlainLoop)->Unit(benchmark::kMicrosecond);

// Prints each run as usual and remembers its time for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.iterations > 0) micros[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
  }
  std::map<std::string, double> micros;
};

void printRatio(const RatioReporter& r, const char* name, const char* plain, const char* what) {
  const auto a = r.micros.find(name), b = r.micros.find(plain);
  if (a == r.micros.end() || b == r.micros.end() || b->second <= 0) return;
  std::printf("%s: %.2f us per frame; plain loop over the same records: %.3f us; ratio %.1f\n",
              what, a->second, b->second, a->second / b->second);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printRatio(reporter, "cellsFrame", "cellsPlainLoop", "CellsField update + placeCells");
  printRatio(reporter, "helixUpdate", "helixPlainLoop", "DnaHelix::update (strand, unzipping)");
  benchmark::Shutdown();
  return 0;
}
