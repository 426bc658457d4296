// ASE exports of any content, through both importers: no read or write outside the data, no
// huge allocation, and an accepted mesh whose indices all name something that exists.
#include <cstddef>
#include <cstdint>

#include "assets/tools/ase_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1u << 20) return 0;
  const char* text = reinterpret_cast<const char*>(data);
  MeshData mesh;
  if (parseStaticAse(text, size, mesh)) {
    for (std::uint32_t i : mesh.vertexIndices) {
      if (i >= mesh.vertexCount) __builtin_trap();
    }
    for (std::uint32_t i : mesh.texVertexIndices) {
      if (i >= mesh.texVertexCount) __builtin_trap();
    }
    volatile std::size_t bytes = encodeDat(mesh).size();
    (void)bytes;
  }
  MorphShapes shapes;
  if (parseAnimatedAse(text, size, shapes)) {
    for (std::uint32_t i : shapes.indices) {
      if (i >= shapes.vertexCount) __builtin_trap();
    }
    volatile std::size_t bytes = encodeTrk(shapes).size();
    (void)bytes;
  }
  return 0;
}
