// Generates the show's meshes, morph meshes, cell layout, strand profiles and camera scripts
// into a folder, as files named after their archive entries. The same bytes on every run.
#include <cstdio>
#include <filesystem>

#include "tools/content/content_pipeline.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen_content OUTDIR\n");
    return 2;
  }
  const std::string folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const bool ok = generateMeshes(folder) && generateMorphMeshes(folder) &&
                  generateStrands(folder) && generateCellField(folder) &&
                  generateSceneScripts(folder);
  return ok ? 0 : 1;
}
