#include "tools/art/texture_set.h"

#include <filesystem>
#include <system_error>

#include "tools/art/texture_art.h"
#include "tools/common/output_file.h"

namespace {

struct TextureRecipe {
  const char* file;
  ArtImage (*paint)();                             // painters that cannot fail
  bool (*paintWithFont)(ArtImage&, std::string&);  // painters that need the font
  int quality;
  bool fullChroma;  // sharp white-on-black edges keep their colour resolution
};

const TextureRecipe kRecipes[] = {
    {"cell.jpg", paintMembrane, nullptr, 92, false},
    {"env.jpg", paintCellsBackground, nullptr, 90, false},
    {"d_env.jpg", paintNucleusBackground, nullptr, 90, false},
    {"hcore.jpg", paintChromatin, nullptr, 92, false},
    {"dna.jpg", paintAtomHighlight, nullptr, 94, false},
    {"link.jpg", paintRungBand, nullptr, 94, false},
    {"load.jpg", nullptr, paintLoadingPicture, 92, true},
    {"c.jpg", nullptr, paintGlyphAtlas, 96, true},
};

}  // namespace

const std::vector<std::string>& textureFileNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n;
    for (const TextureRecipe& r : kRecipes) n.push_back(r.file);
    return n;
  }();
  return names;
}

std::vector<unsigned char> makeTextureFile(const std::string& fileName, std::string& error) {
  for (const TextureRecipe& r : kRecipes) {
    if (fileName != r.file) continue;
    ArtImage img(0, 0);
    if (r.paint) {
      img = r.paint();
    } else if (!r.paintWithFont(img, error)) {
      error = fileName + ": " + error;
      return {};
    }
    std::vector<unsigned char> bytes = encodeJpeg(img, r.quality, r.fullChroma, error);
    if (bytes.empty()) error = fileName + ": " + error;
    return bytes;
  }
  error = "unknown texture " + fileName;
  return {};
}

bool writeTextures(const std::string& outDir, std::string& error) {
  namespace fs = std::filesystem;
  fs::path dir = fs::path(outDir) / "textures";
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec || !fs::is_directory(dir, ec)) {
    error = "cannot create the folder " + dir.string();
    return false;
  }
  for (const TextureRecipe& r : kRecipes) {
    std::vector<unsigned char> bytes = makeTextureFile(r.file, error);
    if (bytes.empty()) return false;
    if (!writeFileBytes((dir / r.file).string(), bytes, error)) return false;
  }
  return true;
}
