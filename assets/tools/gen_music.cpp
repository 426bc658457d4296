// gen_music OUTFILE: synthesises the show's ambient piece and writes it as Ogg Vorbis.
#include <cstdio>
#include <string>

#include "assets/tools/art_image.h"
#include "assets/tools/music_synth.h"
#include "assets/tools/vorbis_writer.h"

int main(int argc, char** argv) {
    if (argc != 2 || !argv[1][0]) {
        std::fprintf(stderr, "usage: gen_music OUTFILE\n");
        return 2;
    }
    std::string error;
    std::vector<unsigned char> ogg = encodeVorbis(synthesiseMusic(), 0.4f, error);
    if (ogg.empty() || !writeFileBytes(argv[1], ogg, error)) {
        std::fprintf(stderr, "gen_music: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
