// The hack's command line (and the daemon's description that writes it), its owner lock and
// its projection: the logic under the X11 run.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>

#include "host/hack_options.h"
#include "platform/owner_lock.h"
#include "render/window_projection.h"
#include "settings/settings.h"
#include "tests/support/temp_dir.h"

namespace {

// The command line split at spaces, after the program name.
HackCommand read(const std::string& line, HackOptions& options, Settings* record = nullptr) {
  std::vector<std::string> words{"plasmora"};
  std::istringstream in(line);
  for (std::string w; in >> w;) words.push_back(w);
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());
  std::string error;
  HackCommand command = readHackOptions(int(argv.size()), argv.data(), options, error);
  EXPECT_EQ(command == HackCommand::Invalid, !error.empty()) << line;
  if (record != nullptr && command == HackCommand::Hack) applyHackOptions(options, *record);
  return command;
}

TEST(HackOptions, TargetsAndLinesThatAreNotHacks) {
  using C = HackCommand;
  using T = HackTarget;
  const struct {
    const char* line;
    HackCommand command;
    HackTarget target = HackTarget::None;
    std::uint32_t windowId = 0;
  } cases[] = {
      {"", C::NotAHack},
      {"/s", C::NotAHack},
      {"--fps", C::NotAHack},
      {"--rootx", C::NotAHack},
      {"-root -fps", C::Hack, T::Root},
      {"--window", C::Hack, T::OwnWindow},
      {"--window --root", C::Hack, T::Root},
      {"-window-id 0x1A", C::Hack, T::WindowId, 26},
      {"--window-id 12 --root", C::Hack, T::WindowId, 12},
      {"--root --window-id 4294967295", C::Hack, T::WindowId, 0xFFFFFFFFu},
      {"--window-id", C::Invalid},
      {"--window-id 4294967296", C::Invalid},
      {"--window-id 0x", C::Invalid},
      {"--window-id 12a", C::Invalid},
      {"--window-id 0", C::Invalid},
      {"--root /s", C::Invalid},
      {"--root --bogus", C::Invalid},
  };
  for (const auto& c : cases) {
    HackOptions options;
    ASSERT_EQ(read(c.line, options), c.command) << c.line;
    if (c.command != HackCommand::Hack) continue;
    EXPECT_EQ(options.target, c.target) << c.line;
    EXPECT_EQ(options.windowId, c.windowId) << c.line;
  }
}

TEST(HackOptions, SettingsChangeForTheRunWithinTheirRanges) {
  Settings stored;
  stored.EnableMusic = true;
  stored.Detail = 2;
  stored.Volume = 50;
  stored.Gamma = 70;
  const struct {
    const char* line;
    bool valid = false;
    void (*change)(Settings&) = nullptr;
  } cases[] = {
      {"--window", true, [](Settings&) {}},
      {"--root", true, [](Settings& s) { s.DefGamma = true; }},
      {"--root --gamma 100", true, [](Settings& s) { s.Gamma = 100; }},
      {"--window --detail 0 --volume 1 --no-music --clock --12-hour --fps", true,
       [](Settings& s) {
         s.Detail = 0, s.Volume = 1, s.EnableMusic = false;
         s.ShowClock = s.TimeFormat = s.ShowFPS = true;
       }},
      {"--window --max-fps 20", true, [](Settings& s) { s.FrameLimit = 20; }},
      {"--window --max-fps 1001"},
      {"--window --detail 3"},
      {"--window --volume 0"},
      {"--window --volume -5"},
      {"--window --gamma 101"},
      {"--window --gamma 99999999999999999999"},
      {"--window --volume"},
  };
  auto numbers = [](const Settings& record) {
    std::vector<std::pair<std::string, std::uint32_t>> all;
    for (const StoredValue& v : storedValuesOf(record)) all.emplace_back(v.name, v.number);
    return all;
  };
  for (const auto& c : cases) {
    HackOptions options;
    Settings record = stored, expected = stored;
    ASSERT_EQ(read(c.line, options, &record), c.valid ? HackCommand::Hack : HackCommand::Invalid)
        << c.line;
    if (!c.valid) continue;
    c.change(expected);
    EXPECT_EQ(numbers(record), numbers(expected)) << c.line;
  }
}

// Every argument the daemon's settings tool can add from the description is understood.
TEST(HackOptions, TheDaemonsDescriptionWritesOnlyOptionsTheProgramReads) {
  std::stringstream xml;
  xml << std::ifstream(PLASMORA_SOURCE_DIR "/packaging/plasmora.xml").rdbuf();
  const std::string text = xml.str();
  const std::regex argument(R"re(\barg(-set)?="([^"]*)")re");
  int count = 0;
  for (std::sregex_iterator i(text.begin(), text.end(), argument), end; i != end; ++i, ++count) {
    const std::string line = "--root " + std::regex_replace((*i)[2].str(), std::regex("%"), "7");
    HackOptions options;
    EXPECT_EQ(read(line, options), HackCommand::Hack) << line;
  }
  EXPECT_GE(count, 12);
}

TEST(OwnerLock, OneHolderUntilItLetsGo) {
  TempDir folder;
  const std::string path = (folder.path / "owner.lock").string();
  OwnerLock first, second;
  ASSERT_TRUE(first.take(path));
  EXPECT_FALSE(second.take(path));
  first.release();
  EXPECT_TRUE(second.take(path));
  second.release();
  // Never through a link another user could have planted.
  std::filesystem::create_symlink(folder.path / "elsewhere", folder.path / "link.lock");
  EXPECT_FALSE(second.take((folder.path / "link.lock").string()));
  EXPECT_FALSE(std::filesystem::exists(folder.path / "elsewhere"));
}

TEST(WindowProjection, TheFourToThreePictureStaysWhollyInsideAtTheWindowsShape) {
  for (auto [width, height] : {std::pair{800, 600},
                               {1920, 1080},
                               {3840, 600},
                               {600, 1600},
                               {1, 1000},
                               {1000, 1},
                               {0, 0}}) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    const FrustumExtent f = frustumForWindow(width, height);
    const double aspect = width > 0 ? double(width) / height : 0.666665 / 0.5;
    EXPECT_NEAR((f.right - f.left) / (f.top - f.bottom), aspect, 1e-9 * aspect);
    EXPECT_TRUE(f.left == -f.right && f.bottom == -f.top);
    // Wholly inside, and no larger than that needs: one pair of sides is the 4:3 one.
    EXPECT_TRUE(f.right >= 0.666665 && f.top >= 0.5);
    EXPECT_TRUE(f.right == 0.666665 || f.top == 0.5);
    // The overlay's units stay square: the window's shape, the 800 x 600 area wholly inside.
    const OverlaySize o = overlayForWindow(width, height);
    EXPECT_NEAR(o.width / o.height, aspect, 1e-5 * aspect);
    EXPECT_TRUE(o.width >= 799.999f && o.height >= 599.999f);
    EXPECT_TRUE(std::abs(o.width - 800.0f) < 1e-3f || std::abs(o.height - 600.0f) < 1e-3f);
  }
}

}  // namespace
