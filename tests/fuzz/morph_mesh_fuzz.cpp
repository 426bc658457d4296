// Any bytes given to the .trk reader fail cleanly or make a mesh that blends and stays in range.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "assets/morph_mesh.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // No buffer objects are available here, so nothing below touches OpenGL.
  MorphMesh mesh;
  if (!mesh.parse(data, size)) return 0;
  for (std::uint32_t index : mesh.indices) {
    if (index >= mesh.vertexCount) std::abort();
  }
  for (float step : {0.0f, 3.7f, 6.9f, -1.0f}) {
    mesh.advance(step);
    if (!(mesh.phase >= 0.0f && mesh.phase < 10.0f)) std::abort();
  }
  volatile float sink = mesh.interleaved.empty() ? 0.0f : mesh.interleaved.back();
  (void)sink;
  return 0;
}
