// gen_builtin_art DATADIR OUT.cpp [PNGDIR]: renders the program's built-in pictures (the
// dialog's picture 107, the preview's picture 112 and icon 111) from the show's content in
// DATADIR/data.sdd and writes them as a C++ source; PNGDIR, when given, gets them as PNG files
// for looking at.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "recorder/rgb_image.h"
#include "show/show_objects.h"
#include "tools/builtin_art/embed_source.h"
#include "tools/builtin_art/picture_finish.h"
#include "tools/builtin_art/show_shots.h"
#include "tools/common/output_file.h"

namespace {

// Each picture is rendered at this many times its size and then reduced.
constexpr int kOversample = 4;

struct PictureDesign {
  int id;
  int width, height;
  float tilt;         // the strand's lean from upright, in degrees
  float distance;     // camera distance from the strand in half heights of the strand
  Vec3 shift;         // the strand's centre moves by this much (in half heights), camera-relative
  float titleHeight;  // em height of the title as a share of the picture's height; 0 = none
  LayerStyle style;
};

ShotCamera strandCamera(const ShowShots& shots, const PictureDesign& d) {
  const float a = d.tilt * 3.14159265f / 180.0f;
  const float h = shots.strandHalfHeight();
  const Vec3 target = shots.strandCentre() - d.shift * h;
  return {target + Vec3(0, 0, d.distance * h), {0, 0, -1}, {std::sin(a), std::cos(a), 0}};
}

bool makePicture(ShowShots& shots, const ShotCamera& cellsCamera, const PictureDesign& d,
                 FontFace& font, std::vector<unsigned char>& rgb, std::string& error) {
  const int w = d.width * kOversample, h = d.height * kOversample;
  ArtImage cells = shots.cells(w, h, cellsCamera);
  ArtImage strand = shots.strand(w, h, strandCamera(shots, d));
  ArtImage large = layerStrand(cells, strand, d.style);
  if (d.titleHeight > 0) {
    TextMask title;
    const int em = int(std::lround(d.titleHeight * h));
    if (!font.render("Plasmora", em, em, title, error)) return false;
    stampTitle(large, title, (w - title.width) / 2, int(0.07f * h), em * 0.12f,
               ArtColour{1.0f, 1.0f, 1.0f}, ArtColour{0.62f, 0.85f, 1.0f},
               ArtColour{0.10f, 0.30f, 0.65f});
  }
  rgb = resampleArea(large, d.width, d.height).toRgb8();
  return true;
}

bool writeLook(const std::string& folder, const EmbeddedPicture& p) {
  RgbImage image{p.width, p.height, p.rgb};
  char name[64];
  std::snprintf(name, sizeof name, "/builtin_%d_%dx%d.png", p.id, p.width, p.height);
  return writePng((folder + name).c_str(), image);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: gen_builtin_art DATADIR OUT.cpp [PNGDIR]\n");
    return 2;
  }
  const std::string out = std::filesystem::absolute(argv[2]).string();
  const std::string looks = argc == 4 ? std::filesystem::absolute(argv[3]).string() : "";
  std::string error;
  FontFace font;
  ShowShots shots;
  if (!font.open(std::string(kDejaVuFolder) + "DejaVuSans-Bold.ttf", error) ||
      !shots.open(argv[1], 263 * kOversample, 180 * kOversample, error)) {
    std::fprintf(stderr, "gen_builtin_art: %s\n", error.c_str());
    return 1;
  }
  shots.advance(2.0f);
  // The cells as the first flight of the field sees them a few seconds in.
  trackTime = 3.0f;
  director.update();
  const ShotCamera cellsCamera{director.position, director.viewDir, director.up};

  LayerStyle style;
  style.backgroundGain = 0.55f;
  style.backgroundBlur = 6.0f;
  style.glowSigma = 10.0f;
  LayerStyle iconStyle = style;
  iconStyle.backgroundBlur = 10.0f;
  iconStyle.vignette = 0.8f;
  // The dialog's picture, its smaller cut for the preview, and the icon: one design, several
  // sizes, since a picture reduced by a fraction keeps its look best when rendered for it.
  const PictureDesign dialog{107, 263, 180, -58.0f, 1.5f, {0, 0.12f, 0}, 0.20f, style};
  const PictureDesign preview{112, 155, 115, -58.0f, 1.5f, {0, 0.12f, 0}, 0.20f, style};
  const PictureDesign icon{111, 128, 128, -45.0f, 0.8f, {0, 0, 0}, 0.0f, iconStyle};

  std::vector<EmbeddedPicture> pictures;
  for (const PictureDesign* d : {&dialog, &preview, &icon}) {
    EmbeddedPicture p{d->id, d->width, d->height, {}};
    if (!makePicture(shots, cellsCamera, *d, font, p.rgb, error)) {
      std::fprintf(stderr, "gen_builtin_art: %s\n", error.c_str());
      return 1;
    }
    pictures.push_back(std::move(p));
  }
  // The smaller icons come from the large one: at 16 pixels a fresh render would only alias.
  ArtImage large(icon.width, icon.height);
  {
    const std::vector<unsigned char>& rgb = pictures.back().rgb;
    for (int y = 0; y < icon.height; ++y)
      for (int x = 0; x < icon.width; ++x) {
        const unsigned char* c = &rgb[(std::size_t(y) * icon.width + x) * 3];
        large.at(x, y) = {c[0] / 255.0f, c[1] / 255.0f, c[2] / 255.0f};
      }
  }
  EmbeddedPicture largest = std::move(pictures.back());
  pictures.pop_back();
  for (int size : {16, 32, 48, 64})
    pictures.push_back({icon.id, size, size, resampleArea(large, size, size).toRgb8()});
  pictures.push_back(std::move(largest));

  const std::string source = embedSource(pictures);
  if (source.empty() || !writeFileBytes(out, {source.begin(), source.end()}, error)) {
    std::fprintf(stderr, "gen_builtin_art: cannot write %s %s\n", out.c_str(), error.c_str());
    return 1;
  }
  if (!looks.empty()) {
    std::filesystem::create_directories(looks);
    for (const EmbeddedPicture& p : pictures)
      if (!writeLook(looks, p)) return 1;
  }
  return 0;
}
