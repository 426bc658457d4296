// Loading and saving the settings record, alone and through the real settings file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "host/load_settings.h"
#include "settings/settings.h"
#include "platform/display_mode.h"
#include "platform/x11/settings_store_file.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

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
  EXPECT_EQ(s.Volume, 0);   // not clamped: the store keeps what it is given
  EXPECT_EQ(s.Detail, 5);
  EXPECT_EQ(s.Width, 0);    // a stored value wins over the desktop
  EXPECT_EQ(s.Height, -1);
  EXPECT_EQ(s.Path, "");    // stored empty: the current folder stays
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
  applyStoredValues(s, {text("ShowClock", "0"), number("Path", 5), number("showfps", 1),
                        number("DETAIL", 1)},
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
  EXPECT_EQ(names, (std::vector<std::string>{"ShowClock", "TimeFormat", "English", "Random",
                                             "EnableMusic", "UseDesktop", "ShowFlame",
                                             "DefGamma", "Width", "Height", "Depth", "Volume",
                                             "Gamma", "Detail", "VSync", "MouseExit",
                                             "ShowFPS"}));
  EXPECT_EQ(values[0].number, 1u);
  EXPECT_EQ(values[8].number, 1600u);
  EXPECT_EQ(static_cast<std::int32_t>(values[12].number), -5);
}

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder.empty());
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    settings = Settings{};
  }
  void writeFile(const std::string& text) { dir.write("quillmoor/plasmora.conf", text); }
  std::string fileText() { return readFile(settingsFilePath()); }

  TempDir dir;
  const fs::path& folder = dir.path;
};

TEST_F(SettingsFile, SaveAndLoadRoundTripAndKeepTheInstallersPath) {
  writeFile("Path=\"/opt/plasmora data\"\n");

  settings.ShowClock = false;
  settings.TimeFormat = true;
  settings.English = true;
  settings.Random = true;
  settings.EnableMusic = false;
  settings.UseDesktop = false;
  settings.ShowFlame = true;
  settings.DefGamma = false;
  settings.Width = 1024;
  settings.Height = 768;
  settings.Depth = 16;
  settings.Volume = 35;
  settings.Gamma = 80;
  settings.Detail = 1;
  settings.VSync = true;
  settings.MouseExit = true;
  settings.ShowFPS = true;
  settings.Path = "/not/stored";
  Settings saved = settings;
  ASSERT_TRUE(saveSettings());

  settings = Settings{};
  loadSettings();
  EXPECT_EQ(settings.Path, "/opt/plasmora data");
  settings.Path = saved.Path;
  EXPECT_EQ(storedValuesOf(settings).size(), storedValuesOf(saved).size());
  for (std::size_t i = 0; i < storedValuesOf(saved).size(); ++i)
    EXPECT_EQ(storedValuesOf(settings)[i].number, storedValuesOf(saved)[i].number)
        << storedValuesOf(saved)[i].name;
}

TEST_F(SettingsFile, WithoutAStoredPathTheDataFolderOfTheBuildOrTheInstallationIsUsed) {
  loadSettings();
  EXPECT_EQ(settings.Path, PLASMORA_DATA_DIR);

  // Laid out as installed: bin/ and share/plasmora/data.sdd side by side.
  fs::path exe = fs::read_symlink("/proc/self/exe");
  fs::path installed = fs::weakly_canonical(exe.parent_path() / PLASMORA_INSTALLED_DATA_DIR);
  bool made = !fs::exists(installed / "data.sdd");
  if (made) {
    fs::create_directories(installed);
    std::ofstream(installed / "data.sdd") << "x";
  }
  loadSettings();
  if (made) fs::remove(installed / "data.sdd");
  EXPECT_EQ(settings.Path, installed.string());
}

TEST_F(SettingsFile, AFlagStoredAsSevenLoadsTrueAndIsSavedAsOne) {
  writeFile("ShowFPS=7\n");
  loadSettings();
  EXPECT_TRUE(settings.ShowFPS);
  ASSERT_TRUE(saveSettings());
  EXPECT_NE(fileText().find("ShowFPS=1\n"), std::string::npos);
  EXPECT_EQ(fileText().find("ShowFPS=7"), std::string::npos);
}

TEST_F(SettingsFile, ACorruptFileReadsAsAbsentValues) {
  const char corrupt[] = "ShowClock=0\n\0\x01\xff garbage";
  writeFile(std::string(corrupt, sizeof corrupt - 1));
  loadSettings();
  EXPECT_TRUE(settings.ShowClock);  // nothing of a file that is not text is believed
  EXPECT_EQ(settings.Volume, 100);
}

}  // namespace
