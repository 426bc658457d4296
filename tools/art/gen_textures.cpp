// gen_textures OUTDIR: paints the show's pictures into OUTDIR/textures/*.jpg.
#include <cstdio>
#include <string>

#include "tools/art/texture_set.h"

int main(int argc, char** argv) {
  if (argc != 2 || !argv[1][0]) {
    std::fprintf(stderr, "usage: gen_textures OUTDIR\n");
    return 2;
  }
  std::string error;
  if (!writeTextures(argv[1], error)) {
    std::fprintf(stderr, "gen_textures: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
