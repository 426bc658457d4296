#pragma once
// The recorder's command line: what to record, how large, how often, and with which settings.
// Pure logic, no GL: a bad option gives a one-line message naming it, and nothing is guessed.
//
// Settings start from the settings table's defaults (the user's settings file is never read or
// written), with music off and the display's gamma left alone; --set NAME=VALUE and the named
// shortcuts (--detail, --clock, --12h, --show-fps...) change them in the order given, checked
// against each setting's kind and range in the table.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/settings_store.h"

struct RecordOptions {
  std::string outFolder = "frames";
  int width = 1280;
  int height = 720;
  int fps = 30;
  std::int64_t frames = 0;  // 0: taken from seconds
  double seconds = 10;
  int every = 1;    // write every n-th frame that is rendered
  int samples = 1;  // per pixel: above 1 the frames are drawn multisampled
  std::uint32_t seed = 1;
  int clockStart = 10 * 3600 + 8 * 60;  // seconds after midnight of the simulated clock
  int sheetColumns = 0;                 // 0: no contact sheet
  int sheetRows = 0;
  std::string videoFile;                   // empty: no video
  std::string dataFolder;                  // empty: where the build put data.sdd
  std::vector<StoredValue> settingValues;  // in the order given
};

enum class ParseResult { Record, Help, Bad };

// Reads argv[1..argc-1]. On Bad, `error` holds the message (without the program's name).
ParseResult parseRecordOptions(int argc, const char* const* argv, RecordOptions& options,
                               std::string& error);

// Frames rendered: --frames, or --seconds x --fps rounded to the nearest frame (at least 1).
std::int64_t totalFrames(const RecordOptions& options);
// Frames written: the rendered frames 0, every, 2 every, ...
std::int64_t writtenFrames(const RecordOptions& options);

// The --help text.
const char* recordUsage();
