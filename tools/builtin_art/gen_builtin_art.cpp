// gen_builtin_art DATADIR OUT.cpp [ARTDIR]: renders the program's built-in pictures (the
// dialog's picture 107, the preview's picture 112 and icon 111) from the show's content in
// DATADIR/data.sdd and writes them as a C++ source. ARTDIR, when given, gets them as PNG files
// for looking at and as the Windows resource script's files: dialog_107.bmp, preview_112.bmp
// and icon_111.ico (every size of the icon, and a 256-pixel one for the shell's large views).
// The source is written last, so that a run that fails half-way is run again by the build.
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "recorder/rgb_image.h"
#include "show/show_objects.h"
#include "tools/builtin_art/embed_source.h"
#include "tools/builtin_art/picture_finish.h"
#include "tools/builtin_art/show_shots.h"
#include "tools/builtin_art/windows_art.h"
#include "tools/common/output_file.h"

namespace {

// Each picture is rendered at this many times its size and then reduced.
constexpr int kOversample = 4;

// One picture: the cells' double helix seen obliquely, so that it runs from a near end at the
// lower left into the distance at the upper right, over the field of cells out of focus.
struct PictureDesign {
  int id;
  int width, height;
  unsigned pairs;     // length of the helix (18 pairs make one turn)
  float tilt;         // how far the helix leans from upright on the picture, in degrees
  float distance;     // camera distance from the helix's middle, in half lengths of the helix
  float elevation;    // how far the camera sits toward the near end, in half lengths
  float zoom;         // the saver's lens narrowed by this much
  float titleHeight;  // em height of the title as a share of the picture's height; 0 = none
  LayerStyle style;
};

ShotCamera helixCamera(const PictureDesign& d) {
  const float a = d.tilt * 3.14159265f / 180.0f;
  const float half = 15.0f * static_cast<float>(d.pairs) * 0.5f;  // 15 units per pair
  const Vec3 middle(0, half, 0);
  const Vec3 eye = middle + Vec3(0, -d.elevation, d.distance) * (half * d.zoom);
  return {eye, normalize(middle - eye), {std::sin(a), std::cos(a), 0}};
}

// The picture at kOversample times its size.
bool makePicture(ShowShots& shots, const ShotCamera& cellsCamera, const PictureDesign& d,
                 FontFace& font, ArtImage& large, std::string& error) {
  const int w = d.width * kOversample, h = d.height * kOversample;
  const ArtImage cells = shots.cells(w, h, cellsCamera);
  const ArtImage helix = shots.helix(w, h, helixCamera(d), d.pairs, d.zoom);
  large = layerStrand(cells, helix, d.style);
  if (d.titleHeight > 0) {
    TextMask title;
    const int em = int(std::lround(d.titleHeight * h));
    if (!font.render("Plasmora", em, em, title, error)) return false;
    stampTitle(large, title, (w - title.width) / 2, int(0.07f * h), em * 0.12f,
               ArtColour{1.0f, 1.0f, 1.0f}, ArtColour{0.62f, 0.85f, 1.0f},
               ArtColour{0.10f, 0.30f, 0.65f});
  }
  return true;
}

bool writeLook(const std::string& folder, const EmbeddedPicture& p) {
  RgbImage image{p.width, p.height, p.rgb};
  char name[64];
  std::snprintf(name, sizeof name, "/builtin_%d_%dx%d.png", p.id, p.width, p.height);
  return writePng((folder + name).c_str(), image);
}

bool writeWindowsFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::string error;
  if (!bytes.empty() && writeFileBytes(path, bytes, error)) return true;
  std::fprintf(stderr, "gen_builtin_art: cannot write %s %s\n", path.c_str(), error.c_str());
  return false;
}

// The build waits for this program: a reader or renderer that never returns must not stall it.
constexpr unsigned kTimeLimitSeconds = 300;
void onTimeLimit(int) {
  static const char message[] = "gen_builtin_art: gave up after 300 s (can data.sdd be read?)\n";
  [[maybe_unused]] auto written = write(2, message, sizeof message - 1);
  _exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: gen_builtin_art DATADIR OUT.cpp [PNGDIR]\n");
    return 2;
  }
  std::signal(SIGALRM, onTimeLimit);
  alarm(kTimeLimitSeconds);
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
  style.backgroundGain = 0.75f;
  style.backgroundBlur = 4.0f;
  style.glowSigma = 10.0f;
  LayerStyle iconStyle = style;
  iconStyle.backgroundGain = 0.6f;
  iconStyle.backgroundBlur = 10.0f;
  iconStyle.vignette = 0.8f;
  // The dialog's picture and its smaller cut for the preview share one design, each rendered
  // for its own size; the icon is the helix alone, closer.
  const PictureDesign dialog{107, 263, 180, 36, -58.0f, 0.55f, 0.6f, 1.6f, 0.20f, style};
  const PictureDesign preview{112, 155, 115, 36, -58.0f, 0.55f, 0.6f, 1.6f, 0.20f, style};
  const PictureDesign icon{111, 128, 128, 27, -45.0f, 1.15f, 0.15f, 1.6f, 0.0f, iconStyle};

  std::vector<EmbeddedPicture> pictures;
  // The icon file also has the Windows shell's largest size, which the program itself never
  // shows.
  std::vector<EmbeddedPicture> iconFileSizes;
  for (const PictureDesign* d : {&dialog, &preview, &icon}) {
    ArtImage large(0, 0);
    if (!makePicture(shots, cellsCamera, *d, font, large, error)) {
      std::fprintf(stderr, "gen_builtin_art: %s\n", error.c_str());
      return 1;
    }
    // Every size of the icon is reduced from the one large rendering, smallest first.
    std::vector<int> sizes = {d->width};
    if (d == &icon) sizes = {16, 32, 48, 64, icon.width};
    for (int size : sizes) {
      const int height = d->height * size / d->width;
      pictures.push_back({d->id, size, height, resampleArea(large, size, height).toRgb8()});
      if (d == &icon) iconFileSizes.push_back(pictures.back());
    }
    if (d == &icon)
      iconFileSizes.push_back({d->id, 256, 256, resampleArea(large, 256, 256).toRgb8()});
  }

  if (!looks.empty()) {
    std::filesystem::create_directories(looks);
    for (const EmbeddedPicture& p : pictures)
      if (!writeLook(looks, p)) return 1;
    // The dialog's and the preview's pictures come first, in one size each.
    if (!writeWindowsFile(looks + "/dialog_107.bmp", bmpFile(pictures[0])) ||
        !writeWindowsFile(looks + "/preview_112.bmp", bmpFile(pictures[1])) ||
        !writeWindowsFile(looks + "/icon_111.ico", icoFile(iconFileSizes)))
      return 1;
  }
  const std::string source = embedSource(pictures);
  if (source.empty() || !writeFileBytes(out, {source.begin(), source.end()}, error)) {
    std::fprintf(stderr, "gen_builtin_art: cannot write %s %s\n", out.c_str(), error.c_str());
    return 1;
  }
  return 0;
}
