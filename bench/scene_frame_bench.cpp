// One frame of the DNA scene and of the nucleus at 1280 x 720 off screen (glFinish included),
// drawn from the generated data.sdd; the nucleus's particles also one display list per
// particle, the way a mesh list is called per object, for comparison with the batch.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <filesystem>

#include "assets/mesh_model.h"
#include "platform/gl_entry_points.h"
#include "platform/offscreen_context.h"
#include "render/camera.h"
#include "render/gl_state.h"
#include "scenes/dna_helix.h"
#include "scenes/nucleus.h"
#include "settings/settings.h"

namespace {

struct Scenes {
  OffscreenContext* context = nullptr;
  DnaHelix strand;
  Nucleus nucleus;
  MeshModel blobList, riboList;

  Scenes() {
    context = createOffscreenContext(1280, 720);
    if (!context) return;
    lookUpGlEntryPoints(offscreenProcAddress);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(PLASMORA_DATA_DIR);
    settings.Detail = 1;
    initRenderState();
    strand.loadStrand("dna1.dat");
    strand.startUnzip();
    for (int k = 0; k < 220; ++k) strand.update(0.1f);  // mid-replication: every kind shows
    nucleus.load();
    blobList.load("meshes\\lows.dat");
    riboList.load("meshes\\ribo.dat");
    std::filesystem::current_path(previous);
  }
};

Scenes& scenes() {
  static Scenes s;
  return s;
}

// CPU seconds of the whole process, the renderer's threads included: a measure that a busy
// machine disturbs less than the wall clock.
double processCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         1e-6 * (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

// Reports the process CPU time per frame next to the benchmark's own figures.
class CpuPerFrame {
 public:
  explicit CpuPerFrame(benchmark::State& state) : state_(state), start_(processCpuSeconds()) {}
  ~CpuPerFrame() {
    if (state_.iterations() > 0) {
      state_.counters["all_threads_ms"] =
          1e3 * (processCpuSeconds() - start_) / static_cast<double>(state_.iterations());
    }
  }

 private:
  benchmark::State& state_;
  double start_;
};

void beginFrame(Vec3 eye, Vec3 look) {
  setDepthWrite(true);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_COLOR_MATERIAL);
  selectMatrix(ModelViewMatrix);
  loadIdentity();
  lookFromCamera(eye, look, Vec3(0, 1, 0));
  setLighting(true);
  setDepthWrite(false);
  setBlending(true);
  blendAdditive();
}

void DnaFrame(benchmark::State& state) {
  Scenes& s = scenes();
  if (!s.context) return state.SkipWithError("no off-screen context");
  CpuPerFrame cpu(state);
  for (auto _ : state) {
    beginFrame(Vec3(0, 380, 900), Vec3(0, 0, -1));
    s.strand.drawStrand();
    glFinish();
  }
}
BENCHMARK(DnaFrame)->Unit(benchmark::kMillisecond);

void NucleusFrame(benchmark::State& state) {
  Scenes& s = scenes();
  if (!s.context) return state.SkipWithError("no off-screen context");
  const Vec3 eye(0, 300, 950);
  CpuPerFrame cpu(state);
  for (auto _ : state) {
    beginFrame(eye, normalize(-eye));
    s.nucleus.draw();
    glFinish();
  }
}
BENCHMARK(NucleusFrame)->Unit(benchmark::kMillisecond);

void NucleusParticlesOneListEach(benchmark::State& state) {
  Scenes& s = scenes();
  if (!s.context) return state.SkipWithError("no off-screen context");
  const Vec3 eye(0, 300, 950);
  Nucleus& n = s.nucleus;
  CpuPerFrame cpu(state);
  for (auto _ : state) {
    beginFrame(eye, normalize(-eye));
    for (std::size_t i = 0; i < Nucleus::particleCount; ++i) {
      pushMatrix();
      glMultMatrixf(n.particleTransform(i).m);
      setColour4(n.particleColour[i], 0.3f);
      glCallList(i < Nucleus::blobCount ? s.blobList.list : s.riboList.list);
      popMatrix();
    }
    glFinish();
  }
}
BENCHMARK(NucleusParticlesOneListEach)->Unit(benchmark::kMillisecond);

void NucleusParticlesBatched(benchmark::State& state) {
  Scenes& s = scenes();
  if (!s.context) return state.SkipWithError("no off-screen context");
  const Vec3 eye(0, 300, 950);
  Nucleus& n = s.nucleus;
  CpuPerFrame cpu(state);
  for (auto _ : state) {
    beginFrame(eye, normalize(-eye));
    n.blobMesh.clear();
    n.riboMesh.clear();
    for (std::size_t i = 0; i < Nucleus::particleCount; ++i) {
      (i < Nucleus::blobCount ? n.blobMesh : n.riboMesh)
          .add(n.particleTransform(i), n.particleColour[i], 0.3f);
    }
    n.blobMesh.draw();
    n.riboMesh.draw();
    glFinish();
  }
}
BENCHMARK(NucleusParticlesBatched)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
