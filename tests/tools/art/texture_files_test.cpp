#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

#include "tests/support/temp_dir.h"
#include "tests/tools/art/jpeg_probe.h"
#include "tools/art/texture_set.h"

namespace {

bool powerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

// Painting every texture takes a moment: do it once for the whole suite.
class TextureFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const std::string& name : textureFileNames()) {
      std::string error;
      files[name] = makeTextureFile(name, error);
      ASSERT_FALSE(files[name].empty()) << name << ": " << error;
      ASSERT_TRUE(probeJpeg(files[name], images[name])) << name << " does not decode";
    }
  }
  static std::map<std::string, std::vector<unsigned char>> files;
  static std::map<std::string, ProbedImage> images;
};
std::map<std::string, std::vector<unsigned char>> TextureFiles::files;
std::map<std::string, ProbedImage> TextureFiles::images;

// Mean absolute luma step across the wrap-around edge, against the mean step between
// neighbours inside the picture.
void seamRatios(const ProbedImage& img, double& across, double& down) {
  double inner = 0, seamX = 0, seamY = 0;
  for (int y = 0; y < img.height; ++y) {
    for (int x = 0; x + 1 < img.width; ++x) inner += std::fabs(img.luma(x + 1, y) - img.luma(x, y));
    seamX += std::fabs(img.luma(0, y) - img.luma(img.width - 1, y));
  }
  for (int x = 0; x < img.width; ++x)
    seamY += std::fabs(img.luma(x, 0) - img.luma(x, img.height - 1));
  inner /= double(img.height) * (img.width - 1);
  across = seamX / img.height / inner;
  down = seamY / img.width / inner;
}

}  // namespace

TEST_F(TextureFiles, AllEightAreColourJpegsOfPowerOfTwoSizeWithinBudget) {
  const std::vector<std::string> expected = {"cell.jpg", "env.jpg",  "d_env.jpg", "hcore.jpg",
                                             "dna.jpg",  "link.jpg", "load.jpg",  "c.jpg"};
  EXPECT_EQ(textureFileNames(), expected);
  for (const auto& [name, img] : images) {
    SCOPED_TRACE(name);
    // Three components: the texture upload reads RGB, a grey JPEG would give one.
    EXPECT_EQ(img.components, 3);
    EXPECT_TRUE(powerOfTwo(img.width) && powerOfTwo(img.height));
    EXPECT_GE(std::min(img.width, img.height), 256);
    EXPECT_LE(std::max(img.width, img.height), 1024);
    // Not a blank or flat picture.
    double sum = 0, sq = 0;
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x) {
        double l = img.luma(x, y);
        sum += l;
        sq += l * l;
      }
    double n = double(img.width) * img.height;
    EXPECT_GT(std::sqrt(sq / n - (sum / n) * (sum / n)), 0.04);
  }
}

TEST_F(TextureFiles, RepeatingSurfacesWrapWithoutASeam) {
  // The membrane repeats across cells and tunnel sheets; the backgrounds wrap around the
  // shell (s is doubled there). A seam would show as a step far above the usual one.
  for (const char* name : {"cell.jpg", "env.jpg", "d_env.jpg", "hcore.jpg"}) {
    SCOPED_TRACE(name);
    double across = 0, down = 0;
    seamRatios(images[name], across, down);
    EXPECT_LT(across, 2.0);
    EXPECT_LT(down, 2.0);
  }
}

TEST_F(TextureFiles, AtomMapIsLitFromTheUpperLeftAndRungBandFadesAtItsEdges) {
  const ProbedImage& atom = images["dna.jpg"];
  int bx = 0, by = 0;
  float best = -1;
  for (int y = 0; y < atom.height; ++y)
    for (int x = 0; x < atom.width; ++x)
      if (atom.luma(x, y) > best) best = atom.luma(x, y), bx = x, by = y;
  EXPECT_LT(bx, atom.width / 2);
  EXPECT_LT(by, atom.height / 2);  // row 0 is the top, which the loader turns to t = 1
  EXPECT_GT(best, 0.95f);

  // The band is drawn additively: its long edges (t = 0 and 1) must be black, or every
  // rung would show its rectangle; the middle must glow.
  const ProbedImage& band = images["link.jpg"];
  auto rowMean = [&](int y) {
    double s = 0;
    for (int x = 0; x < band.width; ++x) s += band.luma(x, y);
    return s / band.width;
  };
  EXPECT_LT(rowMean(0), 0.03);
  EXPECT_LT(rowMean(band.height - 1), 0.03);
  EXPECT_GT(rowMean(band.height / 2), 0.5);
}

TEST_F(TextureFiles, LoadingPictureCentresItsTitle) {
  const ProbedImage& img = images["load.jpg"];
  int minX = img.width, maxX = -1, minY = img.height, maxY = -1;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      if (img.luma(x, y) > 0.9f) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
  ASSERT_GE(maxX, 0) << "no title lettering found";
  EXPECT_NEAR((minX + maxX) / 2.0, img.width / 2.0, img.width * 0.03);
  EXPECT_NEAR((minY + maxY) / 2.0, img.height / 2.0, img.height * 0.1);
  EXPECT_GT(maxX - minX, img.width / 3);  // a title, not a speck
}

TEST_F(TextureFiles, WritesTheSameBytesOnEveryRunAndFailsCleanlyWhereItCannot) {
  TempDir temp;
  const std::filesystem::path dir = temp.path / "out";
  std::string error;
  ASSERT_TRUE(writeTextures(dir.string(), error)) << error;
  // A second painting, compared with the suite's first: the build must be repeatable.
  for (const std::string& name : textureFileNames()) {
    EXPECT_EQ(readFile(dir / "textures" / name),
              std::string(files[name].begin(), files[name].end()))
        << name;
  }
  // A folder that cannot exist: its parent is a file.
  const std::string blocker = temp.write("out/plain_file", "x");
  error.clear();
  EXPECT_FALSE(writeTextures(blocker, error));
  EXPECT_NE(error.find("plain_file"), std::string::npos) << error;

  error.clear();
  EXPECT_TRUE(makeTextureFile("cell.JPG", error).empty());
  EXPECT_FALSE(error.empty());
}
