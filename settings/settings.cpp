#include "settings/settings.h"

#include <strings.h>

#include "platform/display_mode.h"

Settings settings;

namespace {

using K = SettingKind;
using D = SettingDefault;

SettingInfo flag(const char* name, bool Settings::*member, bool value, bool restored) {
  return {name, K::Flag, member, nullptr, nullptr, D::Fixed, value ? 1 : 0, restored, 0, 1};
}

SettingInfo integer(const char* name, std::int32_t Settings::*member, D source, std::int32_t value,
                    bool restored, std::int32_t minimum, std::int32_t maximum) {
  return {name, K::Integer, nullptr, member, nullptr, source, value, restored, minimum, maximum};
}

// The order values are read in, and the order they are written in.
const char* const loadOrder[] = {
    "ShowClock", "TimeFormat", "English",   "Random",   "EnableMusic", "UseDesktop", "ShowFlame",
    "DefGamma",  "Width",      "Height",    "Depth",    "Volume",      "Gamma",      "Detail",
    "ShowFPS",   "VSync",      "MouseExit", "Monitors", "FrameLimit",  "Path"};
const char* const saveOrder[] = {"ShowClock",  "TimeFormat", "English",  "Random",    "EnableMusic",
                                 "UseDesktop", "ShowFlame",  "DefGamma", "Width",     "Height",
                                 "Depth",      "Volume",     "Gamma",    "Detail",    "VSync",
                                 "MouseExit",  "ShowFPS",    "Monitors", "FrameLimit"};

const StoredValue* findValue(const std::vector<StoredValue>& values, const char* name) {
  for (const StoredValue& v : values)
    if (strcasecmp(v.name.c_str(), name) == 0) return &v;
  return nullptr;
}

}  // namespace

const std::vector<SettingInfo>& settingsTable() {
  static const std::vector<SettingInfo> table = {
      flag("EnableMusic", &Settings::EnableMusic, true, true),
      flag("ShowClock", &Settings::ShowClock, true, true),
      flag("ShowFlame", &Settings::ShowFlame, false, false),
      flag("ShowFPS", &Settings::ShowFPS, false, true),
      flag("VSync", &Settings::VSync, false, true),
      flag("UseDesktop", &Settings::UseDesktop, true, true),
      flag("MouseExit", &Settings::MouseExit, false, true),
      flag("DefGamma", &Settings::DefGamma, true, true),
      flag("Random", &Settings::Random, false, true),
      flag("TimeFormat", &Settings::TimeFormat, false, false),  // 24-hour clock
      flag("English", &Settings::English, false, false),
      integer("Detail", &Settings::Detail, D::Fixed, 2, false, 0, 2),
      integer("Volume", &Settings::Volume, D::Fixed, 100, true, 1, 100),
      integer("Gamma", &Settings::Gamma, D::Fixed, 50, true, 0, 100),
      integer("Width", &Settings::Width, D::DesktopMode, 0, true, 0, 0x7FFFFFFF),
      integer("Height", &Settings::Height, D::DesktopMode, 0, true, 0, 0x7FFFFFFF),
      integer("Depth", &Settings::Depth, D::DesktopMode, 0, true, 0, 0x7FFFFFFF),
      integer("Monitors", &Settings::Monitors, D::Fixed, 0, true, 0, 2),
      integer("FrameLimit", &Settings::FrameLimit, D::Fixed, 0, true, 0, 1000),
      {"Path", K::Text, nullptr, nullptr, &Settings::Path, D::DataFolder, 0, false, 0, 0},
  };
  return table;
}

const SettingInfo* findSetting(const char* name) {
  for (const SettingInfo& info : settingsTable())
    if (strcasecmp(info.name, name) == 0) return &info;
  return nullptr;
}

void applyStoredValues(Settings& record, const std::vector<StoredValue>& values,
                       const DisplayMode* desktop, const std::string& dataFolder) {
  for (const char* name : loadOrder) {
    const SettingInfo& info = *findSetting(name);
    const StoredValue* value = findValue(values, name);
    bool isNumber = value != nullptr && value->kind == StoredValue::Number;
    bool isText = value != nullptr && value->kind == StoredValue::Text;
    switch (info.kind) {
      case K::Flag:
        record.*info.flag = isNumber ? value->number != 0 : info.defaultValue != 0;
        break;
      case K::Integer: {
        std::int32_t fallback = info.defaultValue;
        if (info.source == D::DesktopMode) {
          fallback = 0;
          if (desktop != nullptr && info.integer == &Settings::Width) fallback = desktop->width;
          if (desktop != nullptr && info.integer == &Settings::Height) fallback = desktop->height;
          if (desktop != nullptr && info.integer == &Settings::Depth)
            fallback = desktop->bitsPerPixel;
        }
        record.*info.integer = isNumber ? static_cast<std::int32_t>(value->number) : fallback;
        break;
      }
      case K::Text:
        record.*info.text = isText ? value->text : dataFolder;
        break;
    }
  }
  if (record.DefGamma) record.Gamma = 50;
}

std::vector<StoredValue> storedValuesOf(const Settings& record) {
  std::vector<StoredValue> values;
  for (const char* name : saveOrder) {
    const SettingInfo& info = *findSetting(name);
    StoredValue v;
    v.name = info.name;
    v.kind = StoredValue::Number;
    v.number = info.kind == K::Flag ? (record.*info.flag ? 1u : 0u)
                                    : static_cast<std::uint32_t>(record.*info.integer);
    values.push_back(v);
  }
  return values;
}
