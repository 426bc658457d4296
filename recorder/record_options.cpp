#include "recorder/record_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "settings/settings.h"

namespace {

// Upper bounds that keep every count the recorder allocates from, or loops over, sane.
constexpr int maxSide = 8192;
constexpr int maxFps = 1000;
constexpr std::int64_t maxFrames = 100'000'000;
constexpr int maxSheetSide = 16;

bool parseInteger(std::string_view text, std::int64_t minimum, std::int64_t maximum,
                  std::int64_t& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && p == end && value >= minimum && value <= maximum;
}

template <typename T>
bool parseInt(std::string_view text, std::int64_t minimum, std::int64_t maximum, T& out) {
  std::int64_t value = 0;
  if (!parseInteger(text, minimum, maximum, value)) return false;
  out = static_cast<T>(value);
  return true;
}

// "AxB" with both sides in range.
bool parsePair(std::string_view text, int maximum, int& a, int& b) {
  std::size_t x = text.find('x');
  return x != std::string_view::npos && parseInt(text.substr(0, x), 1, maximum, a) &&
         parseInt(text.substr(x + 1), 1, maximum, b);
}

bool parseSeconds(std::string_view text, double& value) {
  std::string copy(text);
  char* end = nullptr;
  value = std::strtod(copy.c_str(), &end);
  return !copy.empty() && end == copy.c_str() + copy.size() && std::isfinite(value) && value > 0 &&
         value <= 1e6;
}

// "hh:mm" or "hh:mm:ss" of a 24-hour day.
bool parseTimeOfDay(std::string_view text, int& seconds) {
  int h = 0, m = 0, s = 0;
  std::size_t first = text.find(':');
  if (first == std::string_view::npos) return false;
  std::string_view rest = text.substr(first + 1);
  std::size_t second = rest.find(':');
  std::string_view minutes = rest.substr(0, second);
  if (!parseInt(text.substr(0, first), 0, 23, h) || minutes.size() != 2 ||
      !parseInt(minutes, 0, 59, m))
    return false;
  if (second != std::string_view::npos) {
    std::string_view secs = rest.substr(second + 1);
    if (secs.size() != 2 || !parseInt(secs, 0, 59, s)) return false;
  }
  seconds = h * 3600 + m * 60 + s;
  return true;
}

// NAME=VALUE for a flag or number of the settings table, in its range.
bool parseSetting(std::string_view text, std::vector<StoredValue>& values, std::string& error) {
  std::size_t eq = text.find('=');
  std::string name(text.substr(0, eq));
  const SettingInfo* info = eq == std::string_view::npos ? nullptr : findSetting(name.c_str());
  if (info == nullptr || info->kind == SettingKind::Text) {
    error = "--set wants NAME=VALUE with NAME a flag or number of the settings, not '" +
            std::string(text) + "'";
    return false;
  }
  std::int64_t value = 0;
  if (!parseInteger(text.substr(eq + 1), info->minimum, info->maximum, value)) {
    error = "--set " + std::string(info->name) + " wants a whole number from " +
            std::to_string(info->minimum) + " to " + std::to_string(info->maximum);
    return false;
  }
  StoredValue stored;
  stored.name = info->name;
  stored.number = static_cast<std::uint32_t>(value);
  values.push_back(stored);
  return true;
}

void setFlag(std::vector<StoredValue>& values, const char* name, bool on) {
  StoredValue stored;
  stored.name = name;
  stored.number = on ? 1 : 0;
  values.push_back(stored);
}

struct FlagOption {
  const char* option;
  const char* setting;
  bool value;
};

constexpr FlagOption flagOptions[] = {
    {"--clock", "ShowClock", true},  {"--no-clock", "ShowClock", false},
    {"--12h", "TimeFormat", true},   {"--24h", "TimeFormat", false},
    {"--show-fps", "ShowFPS", true}, {"--no-show-fps", "ShowFPS", false},
};

}  // namespace

ParseResult parseRecordOptions(int argc, const char* const* argv, RecordOptions& options,
                               std::string& error) {
  bool haveFrames = false, haveSeconds = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") return ParseResult::Help;

    bool matched = false;
    for (const FlagOption& f : flagOptions) {
      if (arg == f.option) {
        setFlag(options.settingValues, f.setting, f.value);
        matched = true;
      }
    }
    if (matched) continue;

    // Every other option takes a value, as "--name value" or "--name=value".
    std::string_view name = arg;
    std::string_view value;
    bool haveValue = false;
    if (std::size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      haveValue = true;
    }
    static constexpr const char* valued[] = {
        "--out",    "--size",        "--fps",   "--frames", "--seconds", "--every", "--seed",
        "--detail", "--clock-start", "--sheet", "--video",  "--data",    "--set", "--samples"};
    bool known = false;
    for (const char* v : valued) known = known || name == v;
    if (!known) {
      error = "unknown option '" + std::string(arg) + "'";
      return ParseResult::Bad;
    }
    if (!haveValue) {
      if (i + 1 >= argc) {
        error = std::string(name) + " wants a value";
        return ParseResult::Bad;
      }
      value = argv[++i];
    }

    bool ok = true;
    const char* want = "";
    if (name == "--out") {
      ok = !value.empty();
      options.outFolder = value;
      want = "a folder";
    } else if (name == "--size") {
      ok = parsePair(value, maxSide, options.width, options.height);
      want = "WIDTHxHEIGHT, each from 1 to 8192";
    } else if (name == "--fps") {
      ok = parseInt(value, 1, maxFps, options.fps);
      want = "frames per second from 1 to 1000";
    } else if (name == "--frames") {
      ok = parseInt(value, 1, maxFrames, options.frames);
      haveFrames = true;
      want = "a number of frames from 1 to 100000000";
    } else if (name == "--seconds") {
      ok = parseSeconds(value, options.seconds);
      haveSeconds = true;
      want = "a number of seconds above 0, at most 1000000";
    } else if (name == "--every") {
      ok = parseInt(value, 1, maxFrames, options.every);
      want = "a whole number from 1";
    } else if (name == "--seed") {
      ok = parseInt(value, 0, UINT32_MAX, options.seed);
      want = "a whole number from 0 to 4294967295";
    } else if (name == "--detail") {
      if (!parseSetting("Detail=" + std::string(value), options.settingValues, error))
        return ParseResult::Bad;
    } else if (name == "--clock-start") {
      ok = parseTimeOfDay(value, options.clockStart);
      want = "a time of day HH:MM or HH:MM:SS";
    } else if (name == "--sheet") {
      ok = parsePair(value, maxSheetSide, options.sheetColumns, options.sheetRows);
      want = "COLUMNSxROWS, each from 1 to 16";
    } else if (name == "--video") {
      ok = !value.empty();
      options.videoFile = value;
      want = "a file name";
    } else if (name == "--data") {
      ok = !value.empty();
      options.dataFolder = value;
      want = "the folder holding data.sdd";
    } else if (name == "--set") {
      if (!parseSetting(value, options.settingValues, error)) return ParseResult::Bad;
    } else if (name == "--samples") {
      ok = parseInt(value, 1, 16, options.samples);
      want = "samples per pixel from 1 to 16";
    }
    if (!ok) {
      error = std::string(name) + " wants " + want + ", not '" + std::string(value) + "'";
      return ParseResult::Bad;
    }
  }
  if (haveFrames && haveSeconds) {
    error = "--frames and --seconds both say how long to record: give one";
    return ParseResult::Bad;
  }
  if (!haveFrames && std::llround(options.seconds * options.fps) > maxFrames) {
    error = "--seconds x --fps is more than 100000000 frames";
    return ParseResult::Bad;
  }
  return ParseResult::Record;
}

std::int64_t totalFrames(const RecordOptions& o) {
  if (o.frames > 0) return o.frames;
  return std::max<std::int64_t>(1, std::llround(o.seconds * o.fps));
}

std::int64_t writtenFrames(const RecordOptions& o) {
  return (totalFrames(o) + o.every - 1) / o.every;
}

const char* recordUsage() {
  return R"(Usage: plasmora-record [OPTION]...
Renders the show off-screen (no display needed) and writes its frames as PNG pictures.

  --out DIR            folder for the frames (default frames/); earlier frame_*.png there
                       are removed first
  --size WxH           picture size (default 1280x720)
  --fps N              frames per second of show time (default 30)
  --seconds S          seconds of show to record (default 10)
  --frames N           or the number of frames to render
  --every N            write only every N-th rendered frame (default 1)
  --seed N             seed of the random source: the same seed and settings give the same
                       pictures (default 1)
  --detail 0|1|2       the Detail setting
  --clock, --no-clock  show the clock or not
  --12h, --24h         12- or 24-hour clock
  --show-fps, --no-show-fps
                       show the frame rate or not
  --clock-start HH:MM[:SS]
                       time of day the simulated clock starts at (default 10:08:00)
  --set NAME=VALUE     any flag or number of the settings (e.g. ShowClock=0, Detail=1)
  --sheet CxR          also write contact_sheet.png: C x R evenly spaced frames
  --video FILE         also encode the frames into FILE with ffmpeg (needs ffmpeg)
  --data DIR           folder holding data.sdd (default: the build's)
  --samples N          draw with N samples per pixel for smooth edges (default 1; at most
                       what the driver offers)
  --help               show this text

Settings start from their defaults; the settings file is neither read nor written. Beside
the frames, frames.csv lists each written frame with its scene and camera. Exit status: 0 when
everything was written, 1 when something could not be, 2 for a bad option.
)";
}
