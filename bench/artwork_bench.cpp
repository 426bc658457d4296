// Time to make the show's artwork: every texture painted and encoded, and the music
// synthesised and encoded, as the build does before packing the archive. The build's
// budget for both generators together is 20 s on a 2-core machine; "budget_share" is the
// fraction of it used here. "x_encode" compares the music synthesis with the Vorbis
// encoding of the same sound, measured in the same run.

#include <benchmark/benchmark.h>

#include <ctime>
#include <string>

#include "tools/art/texture_set.h"
#include "tools/music/music_synth.h"
#include "tools/music/vorbis_writer.h"

namespace {

// Thread CPU time: the machines this runs on are shared, and wall time swings with their load.
double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + t.tv_nsec * 1e-9;
}

constexpr double kBudgetSeconds = 20.0;

void BM_AllArtwork(benchmark::State& state) {
  double textures = 0, synthesis = 0, encoding = 0;
  for (auto _ : state) {
    double t0 = cpuSeconds();
    for (const std::string& name : textureFileNames()) {
      std::string error;
      benchmark::DoNotOptimize(makeTextureFile(name, error));
    }
    double t1 = cpuSeconds();
    StereoTrack track = synthesiseMusic();
    double t2 = cpuSeconds();
    std::string error;
    benchmark::DoNotOptimize(encodeVorbis(track, 0.4f, error));
    double t3 = cpuSeconds();
    textures += t1 - t0;
    synthesis += t2 - t1;
    encoding += t3 - t2;
    state.SetIterationTime(t3 - t0);
  }
  double n = double(state.iterations());
  state.counters["textures_s"] = textures / n;
  state.counters["music_s"] = (synthesis + encoding) / n;
  state.counters["budget_share"] = (textures + synthesis + encoding) / n / kBudgetSeconds;
  state.counters["x_encode"] = encoding > 0 ? synthesis / encoding : 0;
}
BENCHMARK(BM_AllArtwork)->UseManualTime()->Iterations(2)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
