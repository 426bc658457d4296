// The recorder's command line, and which frames its contact sheet shows.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "recorder/contact_sheet.h"
#include "recorder/record_options.h"

namespace {

// The parsed options as one compact line; settings as NAME=VALUE in the order given.
std::string summary(const RecordOptions& o) {
  std::ostringstream s;
  s << o.outFolder << " " << o.width << "x" << o.height << " fps" << o.fps << " total"
    << totalFrames(o) << " written" << writtenFrames(o) << " seed" << o.seed << " clock"
    << o.clockStart << " sheet" << o.sheetColumns << "x" << o.sheetRows;
  if (!o.videoFile.empty()) s << " video=" << o.videoFile;
  for (const StoredValue& v : o.settingValues) s << " " << v.name << "=" << v.number;
  return s.str();
}

// Parses a space-separated command line; gives the summary, "help", or "bad: <message>".
std::string parse(const std::string& line) {
  std::vector<std::string> words{"plasmora-record"};
  std::istringstream in(line);
  for (std::string w; in >> w;) words.push_back(w);
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());
  RecordOptions options;
  std::string error;
  switch (parseRecordOptions(static_cast<int>(argv.size()), argv.data(), options, error)) {
    case ParseResult::Help:
      return "help";
    case ParseResult::Bad:
      return "bad: " + error;
    case ParseResult::Record:
      break;
  }
  return summary(options);
}

TEST(RecordOptions, Table) {
  struct Case {
    const char* line;
    const char* expected;  // the summary, or the start of "bad: ..."
  } cases[] = {
      {"", "frames 1280x720 fps30 total300 written300 seed1 clock36480 sheet0x0"},
      {"--out /tmp/x --size 320x240 --fps 10 --seconds 30 --sheet 4x3",
       "/tmp/x 320x240 fps10 total300 written300 seed1 clock36480 sheet4x3"},
      {"--out=o --size=2x1 --frames=7 --every=3 --seed=4294967295 --clock-start=23:59:59",
       "o 2x1 fps30 total7 written3 seed4294967295 clock86399 sheet0x0"},
      {"--fps 3 --seconds 0.1", "frames 1280x720 fps3 total1 written1 seed1 clock36480 sheet0x0"},
      {"--fps 4 --seconds 2.5 --every 4 --clock-start 00:00 --video a.mp4",
       "frames 1280x720 fps4 total10 written3 seed1 clock0 sheet0x0 video=a.mp4"},
      {"--detail 1 --no-clock --12h --show-fps --set ShowClock=1 --24h --no-show-fps",
       "frames 1280x720 fps30 total300 written300 seed1 clock36480 sheet0x0 Detail=1 "
       "ShowClock=0 TimeFormat=1 ShowFPS=1 ShowClock=1 TimeFormat=0 ShowFPS=0"},
      {"--set detail=0",
       "frames 1280x720 fps30 total300 written300 seed1 clock36480 sheet0x0 "
       "Detail=0"},
      {"--size 640x480 --help --bogus", "help"},
      {"-h", "help"},
      {"--bogus", "bad: unknown option '--bogus'"},
      {"frames", "bad: unknown option 'frames'"},
      {"--out", "bad: --out wants a value"},
      {"--size 640", "bad: --size wants WIDTHxHEIGHT"},
      {"--size 0x480", "bad: --size wants WIDTHxHEIGHT"},
      {"--size 8193x2", "bad: --size wants WIDTHxHEIGHT"},
      {"--size 64x48x2", "bad: --size wants WIDTHxHEIGHT"},
      {"--size -64x48", "bad: --size wants WIDTHxHEIGHT"},
      {"--fps 0", "bad: --fps wants"},
      {"--fps 2.5", "bad: --fps wants"},
      {"--frames 0", "bad: --frames wants"},
      {"--frames 99999999999999999999", "bad: --frames wants"},
      {"--seconds 0", "bad: --seconds wants"},
      {"--seconds nan", "bad: --seconds wants"},
      {"--seconds 5x", "bad: --seconds wants"},
      {"--frames 5 --seconds 5", "bad: --frames and --seconds"},
      {"--fps 1000 --seconds 1000000", "bad: --seconds x --fps"},
      {"--every 0", "bad: --every wants"},
      {"--seed -1", "bad: --seed wants"},
      {"--seed 4294967296", "bad: --seed wants"},
      {"--detail 3", "bad: --set Detail wants a whole number from 0 to 2"},
      {"--set Nope=1", "bad: --set wants NAME=VALUE"},
      {"--set Path=1", "bad: --set wants NAME=VALUE"},
      {"--set ShowClock", "bad: --set wants NAME=VALUE"},
      {"--set ShowClock=2", "bad: --set ShowClock wants a whole number from 0 to 1"},
      {"--clock-start 24:00", "bad: --clock-start wants"},
      {"--clock-start 10:5", "bad: --clock-start wants"},
      {"--clock-start 10:05:60", "bad: --clock-start wants"},
      {"--sheet 17x1", "bad: --sheet wants"},
      {"--sheet 4", "bad: --sheet wants"},
      {"--video=", "bad: --video wants"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::string got = parse(c.line);
    if (std::string(c.expected).starts_with("bad: "))
      EXPECT_TRUE(got.starts_with(c.expected)) << got;
    else
      EXPECT_EQ(got, c.expected);
  }
}

TEST(ContactSheet, SpreadsCellsEvenlyFromFirstToLastFrame) {
  struct Case {
    int columns, rows;
    int frames;
    std::vector<int> shown;  // the frame in each cell, in order
  } cases[] = {
      {2, 2, 10, {0, 3, 6, 9}},
      {4, 3, 300, {0, 27, 54, 81, 108, 135, 163, 190, 217, 244, 271, 299}},
      {3, 1, 2, {0, 1}},  // fewer frames than cells: every frame, the rest left empty
      {1, 1, 5, {0}},
      {2, 1, 1, {0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frames);
    ContactSheet sheet(c.columns, c.rows, c.frames, 64, 48);
    std::vector<int> shown;
    for (int f = 0; f < c.frames; ++f)
      if (int cell = sheet.cellOf(f); cell >= 0) {
        EXPECT_EQ(cell, static_cast<int>(shown.size()));
        shown.push_back(f);
      }
    EXPECT_EQ(shown, c.shown);
  }
}

TEST(ContactSheet, ThumbnailAveragesThePixelsItCovers) {
  // A 4x2 frame of one white and three black pixels per 2x2 block shrinks to 2x1 quarter grey.
  RgbImage frame{4, 2, std::vector<std::uint8_t>(4 * 2 * 3, 0)};
  for (int k = 0; k < 3; ++k) frame.pixels[k] = frame.pixels[(2 + 4) * 3 + k] = 200;
  RgbImage small = shrinkImage(frame, 2, 1);
  EXPECT_EQ(small.pixels, std::vector<std::uint8_t>(6, 50));
}

}  // namespace
