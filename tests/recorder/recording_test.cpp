// plasmora-record run as a user runs it, over one full cycle of the show at a small size:
// what the pictures must show, and that the same seed and settings give the same pictures.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "recorder/rgb_image.h"
#include "tests/support/command_run.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr int width = 320, height = 240;

struct LogLine {
  std::string file, scene;
  double x, y, z;
};

CommandRun record(const fs::path& out, const std::string& options) {
  return runCommand(std::string(PLASMORA_RECORD_BINARY) + " --out " + out.string() +
                    " --size 320x240 --seed 2 " + options + " 2>&1");
}

std::vector<LogLine> readLog(const fs::path& folder) {
  std::vector<LogLine> lines;
  std::ifstream in(folder / "frames.csv");
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::stringstream s(line);
    for (std::string field; std::getline(s, field, ',');) f.push_back(field);
    if (f.size() != 8) break;
    lines.push_back({f[0], f[3], std::stod(f[5]), std::stod(f[6]), std::stod(f[7])});
  }
  return lines;
}

RgbImage readPng(const fs::path& file) {
  RgbImage image;
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, file.c_str())) return image;
  png.format = PNG_FORMAT_RGB;
  image.pixels.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) return {};
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  return image;
}

double meanLevel(const RgbImage& image) {
  double sum = 0;
  for (std::uint8_t v : image.pixels) sum += v;
  return image.pixels.empty() ? 0 : sum / image.pixels.size();
}

// Share of pixels at full white in every channel.
double whiteShare(const RgbImage& image) {
  int white = 0;
  for (std::size_t i = 0; i + 2 < image.pixels.size(); i += 3)
    white += image.pixels[i] >= 250 && image.pixels[i + 1] >= 250 && image.pixels[i + 2] >= 250;
  return double(white) / (image.width * image.height);
}

// Share of pixels that differ by more than a rounding step in some channel.
double changedShare(const RgbImage& a, const RgbImage& b) {
  int changed = 0;
  for (std::size_t i = 0; i + 2 < a.pixels.size(); i += 3)
    for (int k = 0; k < 3; ++k)
      if (std::abs(a.pixels[i + k] - b.pixels[i + k]) > 2) {
        ++changed;
        break;
      }
  return double(changed) / (a.width * a.height);
}

class Recording : public ::testing::Test {
 protected:
  // One cycle (cells, nucleus, DNA, back to cells) at 2 frames a second, clock on; made once.
  static void SetUpTestSuite() {
    dir = new TempDir;
    run = new CommandRun(record(dir->path / "cycle", "--fps 2 --seconds 130 --clock --24h"));
  }
  static void TearDownTestSuite() {
    delete run;
    delete dir;
  }
  static TempDir* dir;
  static CommandRun* run;
};
TempDir* Recording::dir = nullptr;
CommandRun* Recording::run = nullptr;

TEST_F(Recording, OneCycleShowsEveryScenePlainlyAndMoving) {
  ASSERT_EQ(run->status, 0) << run->output;
  fs::path folder = dir->path / "cycle";
  std::vector<LogLine> log = readLog(folder);
  ASSERT_EQ(log.size(), 260u);

  std::vector<std::string> visits;
  for (const LogLine& l : log)
    if (visits.empty() || visits.back() != l.scene) visits.push_back(l.scene);
  ASSERT_GE(visits.size(), 4u) << "a longer recording is needed for a full cycle";
  EXPECT_EQ(std::vector<std::string>(visits.begin(), visits.begin() + 4),
            (std::vector<std::string>{"Cells", "Core", "Dna", "Cells"}));

  RgbImage previous;
  for (std::size_t i = 0; i < log.size(); ++i) {
    SCOPED_TRACE(log[i].file + " " + log[i].scene);
    RgbImage frame = readPng(folder / log[i].file);
    ASSERT_EQ(frame.width, width);
    ASSERT_EQ(frame.height, height);
    EXPECT_GT(meanLevel(frame), 12.0) << "nearly black";
    // Flying through a cell's membrane may fill the view with its colour, but never white.
    EXPECT_LT(whiteShare(frame), 0.5) << "washed out to white";
    bool cameraMoved =
        i > 0 && (log[i].x != log[i - 1].x || log[i].y != log[i - 1].y || log[i].z != log[i - 1].z);
    if (cameraMoved) {
      EXPECT_GT(changedShare(previous, frame), 0.05);
    }
    previous = std::move(frame);
  }
  RgbImage sheet = readPng(folder / "contact_sheet.png");
  EXPECT_TRUE(sheet.width == 0) << "no sheet was asked for";
}

TEST_F(Recording, SameSeedAndSettingsGiveTheSameFrames) {
  ASSERT_EQ(run->status, 0) << run->output;
  fs::path again = dir->path / "again";
  CommandRun second = record(again, "--fps 2 --frames 12 --clock --24h --sheet 2x2");
  ASSERT_EQ(second.status, 0) << second.output;
  for (int i = 0; i < 12; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06d.png", i);
    SCOPED_TRACE(name);
    RgbImage a = readPng(dir->path / "cycle" / name), b = readPng(again / name);
    ASSERT_FALSE(a.pixels.empty());
    EXPECT_TRUE(a.pixels == b.pixels);
  }
  EXPECT_FALSE(fs::exists(again / "frame_000012.png"));
  // The sheet of 2 x 2 cells of 320 x 240 thumbnails.
  RgbImage sheet = readPng(again / "contact_sheet.png");
  EXPECT_EQ(sheet.width, 2 * 320 + 3 * 4);
  EXPECT_EQ(sheet.height, 2 * 240 + 3 * 4);
}

TEST_F(Recording, ClockDrawsOnlyInTheBottomRightCorner) {
  ASSERT_EQ(run->status, 0) << run->output;
  fs::path off = dir->path / "off";
  CommandRun second = record(off, "--fps 2 --frames 1 --no-clock");
  ASSERT_EQ(second.status, 0) << second.output;
  RgbImage with = readPng(dir->path / "cycle" / "frame_000000.png");
  RgbImage without = readPng(off / "frame_000000.png");
  ASSERT_FALSE(with.pixels.empty());
  ASSERT_FALSE(without.pixels.empty());
  // The clock is drawn last and additively: it only brightens, and only where its glyphs are.
  int inCorner = 0, elsewhere = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::size_t i = (std::size_t(y) * width + x) * 3;
      bool differs = false;
      for (int k = 0; k < 3; ++k) differs |= with.pixels[i + k] != without.pixels[i + k];
      if (!differs) continue;
      // 24-hour clock: overlay x 440..794 of 800, y 10..70 of 600 from the bottom.
      bool corner = x >= width * 430 / 800 && y >= height - height * 72 / 600;
      (corner ? inCorner : elsewhere)++;
    }
  EXPECT_GT(inCorner, 500);
  EXPECT_EQ(elsewhere, 0);
}

TEST(RecorderCommand, BadOptionsAndMissingNeedsFailClearly) {
  TempDir dir;
  CommandRun bad = record(dir.path, "--fps 0");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.output.find("--fps wants"), std::string::npos) << bad.output;
  CommandRun help = runCommand(std::string(PLASMORA_RECORD_BINARY) + " --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("--sheet"), std::string::npos);
  // Without ffmpeg on the path a video is refused before anything is rendered.
  CommandRun video = runCommand("env PATH=/nonexistent " + std::string(PLASMORA_RECORD_BINARY) +
                                " --out " + dir.path.string() + " --frames 1 --video v.mp4 2>&1");
  EXPECT_EQ(video.status, 1);
  EXPECT_NE(video.output.find("needs ffmpeg"), std::string::npos) << video.output;
  CommandRun noData = record(dir.path, "--frames 1 --data " + dir.path.string());
  EXPECT_EQ(noData.status, 1);
  EXPECT_NE(noData.output.find("no data.sdd"), std::string::npos) << noData.output;
}

}  // namespace
