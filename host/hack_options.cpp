#include "host/hack_options.h"

#include <cstring>

#include "settings/settings.h"

namespace {

// "--name" or "-name".
bool isOption(const char* argument, const char* name) {
  if (argument[0] != '-') return false;
  const char* rest = argument[1] == '-' ? argument + 2 : argument + 1;
  return std::strcmp(rest, name) == 0;
}

bool isTarget(const char* argument) {
  return isOption(argument, "root") || isOption(argument, "window-id") ||
         isOption(argument, "window");
}

bool readDecimal(const char* text, std::int64_t limit, std::int64_t& value) {
  value = 0;
  if (*text == '\0') return false;
  for (; *text != '\0'; ++text) {
    if (*text < '0' || *text > '9') return false;
    value = value * 10 + (*text - '0');
    if (value > limit) return false;
  }
  return true;
}

struct Switch {
  const char* on;
  const char* off;
  std::optional<bool> HackOptions::*field;
};

const Switch switches[] = {
    {"clock", "no-clock", &HackOptions::clock},
    {"12-hour", "24-hour", &HackOptions::twelveHour},
    {"fps", "no-fps", &HackOptions::fps},
    {"music", "no-music", &HackOptions::music},
};

struct Number {
  const char* name;
  std::int32_t minimum;
  std::int32_t maximum;
  std::optional<std::int32_t> HackOptions::*field;
};

const Number numbers[] = {
    {"detail", 0, 2, &HackOptions::detail},
    {"volume", 1, 100, &HackOptions::volume},
    {"gamma", 0, 100, &HackOptions::gamma},
    {"max-fps", 0, 1000, &HackOptions::maxFps},
};

}  // namespace

bool readWindowNumber(const char* text, std::uint32_t& number) {
  if (text == nullptr) return false;
  std::int64_t value = 0;
  if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text += 2;
    if (*text == '\0') return false;
    for (; *text != '\0'; ++text) {
      int digit = -1;
      if (*text >= '0' && *text <= '9') digit = *text - '0';
      if (*text >= 'a' && *text <= 'f') digit = *text - 'a' + 10;
      if (*text >= 'A' && *text <= 'F') digit = *text - 'A' + 10;
      if (digit < 0) return false;
      value = value * 16 + digit;
      if (value > 0xFFFFFFFF) return false;
    }
  } else if (!readDecimal(text, 0xFFFFFFFF, value)) {
    return false;
  }
  number = static_cast<std::uint32_t>(value);
  return true;
}

HackCommand readHackOptions(int argc, const char* const* argv, HackOptions& options,
                            std::string& error) {
  options = HackOptions{};
  bool targeted = false;
  for (int i = 1; i < argc; ++i) targeted = targeted || isTarget(argv[i]);
  if (!targeted) return HackCommand::NotAHack;

  bool root = false;
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    if (isOption(argument, "root")) {
      root = true;
      continue;
    }
    if (isOption(argument, "window")) {
      if (options.target == HackTarget::None) options.target = HackTarget::OwnWindow;
      continue;
    }
    const bool hasValue = i + 1 < argc;
    if (isOption(argument, "window-id")) {
      if (!hasValue || !readWindowNumber(argv[i + 1], options.windowId) || options.windowId == 0) {
        error = std::string(argument) + " needs a window number";
        return HackCommand::Invalid;
      }
      options.target = HackTarget::WindowId;
      ++i;
      continue;
    }
    bool known = false;
    for (const Switch& s : switches) {
      if (isOption(argument, s.on) || isOption(argument, s.off)) {
        options.*s.field = isOption(argument, s.on);
        known = true;
      }
    }
    for (const Number& n : numbers) {
      if (known || !isOption(argument, n.name)) continue;
      std::int64_t value = 0;
      if (!hasValue || !readDecimal(argv[i + 1], n.maximum, value) || value < n.minimum) {
        error = std::string(argument) + " needs a number from " + std::to_string(n.minimum) +
                " to " + std::to_string(n.maximum);
        return HackCommand::Invalid;
      }
      options.*n.field = static_cast<std::int32_t>(value);
      ++i;
      known = true;
    }
    if (!known) {
      error = std::string("unknown option ") + argument;
      return HackCommand::Invalid;
    }
  }
  // A named window wins over --root, which wins over a window of our own.
  if (options.target != HackTarget::WindowId && root) options.target = HackTarget::Root;
  return HackCommand::Hack;
}

void applyHackOptions(const HackOptions& options, Settings& record) {
  if (options.detail) record.Detail = *options.detail;
  if (options.volume) record.Volume = *options.volume;
  if (options.clock) record.ShowClock = *options.clock;
  if (options.twelveHour) record.TimeFormat = *options.twelveHour;
  if (options.fps) record.ShowFPS = *options.fps;
  if (options.music) record.EnableMusic = *options.music;
  if (options.maxFps) record.FrameLimit = *options.maxFps;
  if (options.gamma) {
    record.Gamma = *options.gamma;
    record.DefGamma = false;
  } else if (drawsIntoForeignWindow(options)) {
    record.DefGamma = true;
  }
}
