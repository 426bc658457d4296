// Loading and saving the settings record through the real settings file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "host/load_settings.h"
#include "platform/x11/settings_store_file.h"
#include "settings/settings.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

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
