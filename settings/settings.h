#pragma once
// The saver's settings, named by the names they are stored under, and the one table that
// describes each: its kind, its value when nothing is stored, and its range.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/settings_store.h"

struct DisplayMode;

struct Settings {
  bool EnableMusic = false;
  bool ShowClock = false;
  bool ShowFlame = false;  // stored and loaded only
  bool ShowFPS = false;
  bool VSync = false;
  bool UseDesktop = false;
  bool MouseExit = false;
  bool DefGamma = false;
  bool Random = false;      // stored and loaded only
  bool TimeFormat = false;  // true: 12-hour clock
  bool English = false;     // stored and loaded only
  std::int32_t Detail = 0;
  std::int32_t Volume = 0;
  std::int32_t Gamma = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::int32_t Depth = 0;
  std::int32_t Monitors = 0;    // 0 primary only, 1 each monitor, 2 one view across all
  std::int32_t FrameLimit = 0;  // frames per second at most; 0 for no limit
  std::string Path;             // folder of data.sdd; never written by the program
};

// The process-wide record.
extern Settings settings;

enum class SettingKind { Flag, Integer, Text };

// Where a setting's value comes from when the store has none.
enum class SettingDefault {
  Fixed,        // defaultValue
  DesktopMode,  // the primary display's present mode
  DataFolder,   // the folder where the build or the installation put data.sdd
};

struct SettingInfo {
  const char* name;
  SettingKind kind;
  bool Settings::*flag;
  std::int32_t Settings::*integer;
  std::string Settings::*text;
  SettingDefault source;
  std::int32_t defaultValue;
  bool restoredByDefaults;  // whether "Restore Defaults" sets it (to the value above)
  std::int32_t minimum;     // range of the dialog's control; the store does not clamp
  std::int32_t maximum;
};

// Every setting, in the order of the record.
const std::vector<SettingInfo>& settingsTable();
const SettingInfo* findSetting(const char* name);

// `record` from the stored values: flags are true for any non-zero number, integers are
// taken as stored, and a value that is absent (or of the wrong kind) takes its default.
// `desktop` gives the defaults of Width, Height and Depth (null leaves them 0), `dataFolder`
// that of Path. A set DefGamma forces Gamma to 50.
void applyStoredValues(Settings& record, const std::vector<StoredValue>& values,
                       const DisplayMode* desktop, const std::string& dataFolder);

// What saveSettings stores for `record`, in storing order: every setting but Path, flags as
// 0 or 1.
std::vector<StoredValue> storedValuesOf(const Settings& record);
