// The settings table: stored values into the record and back.
#include <gtest/gtest.h>

#include "platform/display_mode.h"
#include "settings/settings.h"

namespace {

StoredValue number(const char* name, std::uint32_t value) {
  StoredValue v;
  v.name = name;
  v.number = value;
  return v;
}

StoredValue text(const char* name, const std::string& value) {
  StoredValue v;
  v.name = name;
  v.kind = StoredValue::Text;
  v.text = value;
  return v;
}

const DisplayMode desktop{1920, 1080, 32};

TEST(ApplyStoredValues, AbsentValuesTakeTheirDefaults) {
  Settings s;
  s.Detail = 9;
  applyStoredValues(s, {}, &desktop, "/data");
  EXPECT_TRUE(s.EnableMusic);
  EXPECT_TRUE(s.ShowClock);
  EXPECT_FALSE(s.ShowFlame);
  EXPECT_FALSE(s.ShowFPS);
  EXPECT_FALSE(s.VSync);
  EXPECT_TRUE(s.UseDesktop);
  EXPECT_FALSE(s.MouseExit);
  EXPECT_TRUE(s.DefGamma);
  EXPECT_FALSE(s.Random);
  EXPECT_FALSE(s.TimeFormat);
  EXPECT_FALSE(s.English);
  EXPECT_EQ(s.Detail, 2);
  EXPECT_EQ(s.Volume, 100);
  EXPECT_EQ(s.Gamma, 50);
  EXPECT_EQ(s.Width, 1920);
  EXPECT_EQ(s.Height, 1080);
  EXPECT_EQ(s.Depth, 32);
  EXPECT_EQ(s.Path, "/data");

  applyStoredValues(s, {}, nullptr, "/data");
  EXPECT_EQ(s.Width, 0);
  EXPECT_EQ(s.Depth, 0);
}

TEST(ApplyStoredValues, FlagsAreAnyNonZeroNumberIntegersAreTakenAsStored) {
  Settings s;
  applyStoredValues(s,
                    {number("ShowClock", 0), number("EnableMusic", 7), number("MouseExit", 1),
                     number("VSync", 0x80000000u), number("DefGamma", 0), number("Gamma", 80),
                     number("Volume", 0), number("Detail", 5), number("Width", 0),
                     number("Height", 4294967295u), text("Path", "")},
                    &desktop, "/data");
  EXPECT_FALSE(s.ShowClock);
  EXPECT_TRUE(s.EnableMusic);
  EXPECT_TRUE(s.MouseExit);
  EXPECT_TRUE(s.VSync);
  EXPECT_EQ(s.Gamma, 80);
  EXPECT_EQ(s.Volume, 0);  // not clamped: the store keeps what it is given
  EXPECT_EQ(s.Detail, 5);
  EXPECT_EQ(s.Width, 0);  // a stored value wins over the desktop
  EXPECT_EQ(s.Height, -1);
  EXPECT_EQ(s.Path, "");  // stored empty: the current folder stays
}

TEST(ApplyStoredValues, DefGammaForcesNeutralGammaAndTheNextSaveStoresIt) {
  Settings s;
  applyStoredValues(s, {number("DefGamma", 1), number("Gamma", 80)}, &desktop, "/data");
  EXPECT_EQ(s.Gamma, 50);
  for (const StoredValue& v : storedValuesOf(s)) {
    if (v.name == "Gamma") {
      EXPECT_EQ(v.number, 50u);
    }
  }
}

TEST(ApplyStoredValues, ValuesOfTheWrongKindCountAsAbsentAndNamesIgnoreCase) {
  Settings s;
  applyStoredValues(
      s, {text("ShowClock", "0"), number("Path", 5), number("showfps", 1), number("DETAIL", 1)},
      &desktop, "/data");
  EXPECT_TRUE(s.ShowClock);
  EXPECT_EQ(s.Path, "/data");
  EXPECT_TRUE(s.ShowFPS);
  EXPECT_EQ(s.Detail, 1);
}

TEST(StoredValuesOf, WritesEverySettingButPathInStoringOrderWithFlagsAsZeroOrOne) {
  Settings s;
  s.ShowClock = true;
  s.Gamma = -5;
  s.Width = 1600;
  s.Path = "/somewhere";
  std::vector<StoredValue> values = storedValuesOf(s);
  std::vector<std::string> names;
  for (const StoredValue& v : values) {
    names.push_back(v.name);
    EXPECT_EQ(v.kind, StoredValue::Number);
  }
  EXPECT_EQ(names, (std::vector<std::string>{
                       "ShowClock", "TimeFormat", "English", "Random", "EnableMusic", "UseDesktop",
                       "ShowFlame", "DefGamma", "Width", "Height", "Depth", "Volume", "Gamma",
                       "Detail", "VSync", "MouseExit", "ShowFPS", "Monitors", "FrameLimit"}));
  EXPECT_EQ(values[0].number, 1u);
  EXPECT_EQ(values[8].number, 1600u);
  EXPECT_EQ(static_cast<std::int32_t>(values[12].number), -5);
}

}  // namespace
