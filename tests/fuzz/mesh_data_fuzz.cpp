// Any bytes given to the .dat reader fail cleanly or yield arrays whose indices stay inside.
#include <cstdint>
#include <cstdlib>

#include "assets/mesh_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MeshData mesh;
  if (parseMeshData(data, size, mesh)) {
    float sum = 0.0f;
    // Walk the corners as the display list does; the sanitizer catches any stray index.
    for (std::size_t slot = 0; slot < std::size_t(mesh.triangleCount) * 3; ++slot) {
      sum += mesh.positions.at(std::size_t(mesh.vertexIndices[slot]) * 3 + 2);
      sum += mesh.texVertices.at(std::size_t(mesh.texVertexIndices[slot]) * 2 + 1);
      sum += mesh.cornerNormals.at(slot * 3 + 2);
    }
    volatile float sink = sum;
    (void)sink;
  }
  return 0;
}
