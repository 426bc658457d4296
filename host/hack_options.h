#pragma once
// The command line of a hack: how a screensaver daemon, its settings tool or a person trying
// the show starts it inside a window that someone else provides.
//
// - The saver's own switch reader looks only at the first '-' or '/' and its letter, so
//   "--root" would read as a saver run. A command line is a hack's only when one of its
//   arguments is exactly one of the target options below; then every argument must be one of
//   the options here and anything else is an error. Without a target option the line goes to
//   the saver's reader unchanged ("plasmora --fps" is still a saver run).
// - Targets: "--root"/"-root" draws into the window named by XSCREENSAVER_WINDOW (hex with
//   0x, or decimal), else into the root window; "--window-id N"/"-window-id N" (hex or
//   decimal) names the window and wins over --root; "--window" opens an ordinary window.
// - Settings for this run only (each option also takes one leading dash): "--detail N"
//   (0 to 2), "--clock"/"--no-clock", "--12-hour"/"--24-hour", "--fps"/"--no-fps",
//   "--music"/"--no-music", "--volume N" (1 to 100), "--gamma N" (0 to 100; asks for the
//   ramp to be changed, which --root and --window-id otherwise leave alone), "--max-fps N"
//   (0 to 1000 frames a second, 0 for no cap: FrameLimit). Numbers are plain
//   decimal; one out of range is an error, not clamped.
#include <cstdint>
#include <optional>
#include <string>

struct Settings;

enum class HackTarget { None, Root, WindowId, OwnWindow };

struct HackOptions {
  HackTarget target = HackTarget::None;
  std::uint32_t windowId = 0;  // with WindowId
  std::optional<std::int32_t> detail, volume, gamma, maxFps;
  std::optional<bool> clock, twelveHour, fps, music;
};

enum class HackCommand { NotAHack, Hack, Invalid };

// Reads argv[1..argc-1]. With Invalid, `error` says what is wrong.
HackCommand readHackOptions(int argc, const char* const* argv, HackOptions& options,
                            std::string& error);

// A window number as XSCREENSAVER_WINDOW and --window-id give it: "0x" and hex digits, or
// decimal digits, fitting 32 bits, nothing else. False for anything else.
bool readWindowNumber(const char* text, std::uint32_t& number);

// Puts the options' settings into `record`, in memory only. Drawing into a window that is
// not ours (--root, --window-id) leaves the gamma ramp alone unless --gamma asks for it.
void applyHackOptions(const HackOptions& options, Settings& record);

// Whether the show draws into a window of another program (--root, --window-id).
inline bool drawsIntoForeignWindow(const HackOptions& options) {
  return options.target == HackTarget::Root || options.target == HackTarget::WindowId;
}
