// gen_music OUTFILE: synthesises the show's ambient piece and writes it as Ogg Vorbis.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/common/output_file.h"
#include "tools/music/music_synth.h"
#include "tools/music/vorbis_writer.h"

int main(int argc, char** argv) {
  if (argc != 2 || !argv[1][0]) {
    std::fprintf(stderr, "usage: gen_music OUTFILE\n");
    return 2;
  }
  // Refuse a missing folder before spending seconds on the synthesis.
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::absolute(argv[1], ec).parent_path();
  if (ec || !std::filesystem::is_directory(folder, ec)) {
    std::fprintf(stderr, "gen_music: no folder %s\n", folder.string().c_str());
    return 1;
  }
  std::string error;
  std::vector<unsigned char> ogg = encodeVorbis(synthesiseMusic(), 0.4f, error);
  if (ogg.empty() || !writeFileBytes(argv[1], ogg, error)) {
    std::fprintf(stderr, "gen_music: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
