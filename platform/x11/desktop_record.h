#pragma once
// What a run has changed on the display and must put back: the primary CRTC's mode and the
// gamma ramps of the CRTCs it touched, as they were before. Kept in memory and, from the
// moment of the change until it is undone, in a small file of the user's runtime folder, so
// that a run that cannot undo it itself (a crash, a lost connection, SIGKILL) can still be
// undone by another process: `plasmora --restore-desktop`.
//
// The file is plain text, one line per item; a file that does not parse whole restores
// nothing.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct SavedCrtcMode {
  unsigned long crtc = 0;
  unsigned long mode = 0;
  int x = 0;
  int y = 0;
  unsigned rotation = 1;
  std::vector<unsigned long> outputs;
  int screenWidth = 0;
  int screenHeight = 0;
  int screenMmWidth = 0;
  int screenMmHeight = 0;
};

struct SavedCrtcGamma {
  unsigned long crtc = 0;
  std::vector<std::uint16_t> red, green, blue;  // all of the CRTC's size
};

struct DesktopRecord {
  std::optional<SavedCrtcMode> mode;
  std::vector<SavedCrtcGamma> gamma;
  bool empty() const { return !mode && gamma.empty(); }
};

// Bounds a parsed record keeps to: real CRTCs have ramps of a few thousand entries at most.
constexpr std::size_t maxRecordedGammaSize = 16384;
constexpr std::size_t maxRecordedCrtcs = 64;

std::string formatDesktopRecord(const DesktopRecord& record);
// False, leaving `record` empty, unless the whole text is a well-formed record.
bool parseDesktopRecord(std::string_view text, DesktopRecord& record);
