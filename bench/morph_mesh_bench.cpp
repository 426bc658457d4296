// MorphMesh::advance per vertex, against a plain copy of the same 32 bytes per vertex.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "assets/morph_mesh.h"
#include "platform/gl_entry_points.h"

namespace {

constexpr std::uint32_t vertexCount = 1200;  // the largest cell membrane

std::vector<std::uint8_t> syntheticTrk() {
  std::vector<std::uint8_t> out;
  auto put = [&out](const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    out.insert(out.end(), b, b + n);
  };
  const std::uint32_t triangles = vertexCount - 2;
  const std::uint32_t counts[3] = {vertexCount, triangles, triangles * 3};
  put(counts, sizeof counts);
  std::uint32_t seed = 1;
  auto next = [&seed] {
    seed = seed * 214013u + 2531011u;
    return float((seed >> 16) & 0x7FFF) / 32767.0f - 0.5f;
  };
  for (std::uint32_t i = 0; i < vertexCount * 8; ++i) {
    const float f = next();
    put(&f, 4);
  }
  for (std::uint32_t t = 0; t < triangles; ++t) {
    const std::uint32_t tri[3] = {t, t + 1, t + 2};
    put(tri, sizeof tri);
  }
  for (std::uint32_t i = 0; i < vertexCount * 3 * 40; ++i) {
    const float f = next();
    put(&f, 4);
  }
  return out;
}

void advance(benchmark::State& state) {
  clearGlEntryPoints();
  const std::vector<std::uint8_t> file = syntheticTrk();
  MorphMesh mesh;
  if (!mesh.parse(file.data(), file.size())) {
    state.SkipWithError("synthetic mesh did not parse");
    return;
  }
  for (auto _ : state) {
    mesh.advance(0.013f);
    benchmark::DoNotOptimize(mesh.interleaved.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * vertexCount);
}

void plainCopy(benchmark::State& state) {
  std::vector<float> from(vertexCount * 8, 1.0f), to(vertexCount * 8);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), vertexCount * 32);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * vertexCount);
}

BENCHMARK(advance);
BENCHMARK(plainCopy);

// Prints each run as usual and remembers nanoseconds per vertex for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.iterations > 0) {
        perVertex[run.benchmark_name()] = run.GetAdjustedRealTime() / vertexCount;
      }
    }
  }
  std::map<std::string, double> perVertex;  // in the reporter's time unit (ns)
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto a = reporter.perVertex.find("advance");
  const auto c = reporter.perVertex.find("plainCopy");
  if (a != reporter.perVertex.end() && c != reporter.perVertex.end() && c->second > 0) {
    std::printf(
        "MorphMesh::advance: %.2f ns per vertex; plain 32-byte copy: %.3f ns per vertex; ratio "
        "%.1f\n",
        a->second, c->second, a->second / c->second);
  }
  benchmark::Shutdown();
  return 0;
}
