// The hack's command line, its lock and its projection: the logic under the X11 run.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <vector>

#include "host/hack_options.h"
#include "platform/owner_lock.h"
#include "render/window_projection.h"
#include "settings/settings.h"
#include "tests/support/temp_dir.h"

namespace {

HackCommand read(std::vector<const char*> arguments, HackOptions& options) {
  arguments.insert(arguments.begin(), "plasmora");
  std::string error;
  const HackCommand command =
      readHackOptions(static_cast<int>(arguments.size()), arguments.data(), options, error);
  EXPECT_EQ(command == HackCommand::Invalid, !error.empty());
  return command;
}

TEST(HackOptions, TargetsAndWhatIsNotAHack) {
  struct Case {
    std::vector<const char*> arguments;
    HackCommand command;
    HackTarget target;
    std::uint32_t windowId;
  };
  const Case cases[] = {
      {{}, HackCommand::NotAHack, HackTarget::None, 0},
      {{"/s"}, HackCommand::NotAHack, HackTarget::None, 0},
      {{"--fps"}, HackCommand::NotAHack, HackTarget::None, 0},  // still the saver's switch
      {{"--rootx"}, HackCommand::NotAHack, HackTarget::None, 0},
      {{"--root"}, HackCommand::Hack, HackTarget::Root, 0},
      {{"-root", "-fps"}, HackCommand::Hack, HackTarget::Root, 0},
      {{"--window"}, HackCommand::Hack, HackTarget::OwnWindow, 0},
      {{"--window", "--root"}, HackCommand::Hack, HackTarget::Root, 0},
      {{"-window-id", "0x1A"}, HackCommand::Hack, HackTarget::WindowId, 26},
      {{"--root", "--window-id", "4294967295"},
       HackCommand::Hack,
       HackTarget::WindowId,
       0xFFFFFFFFu},
      {{"--window-id", "12", "--root"}, HackCommand::Hack, HackTarget::WindowId, 12},
      {{"--window-id"}, HackCommand::Invalid, HackTarget::None, 0},
      {{"--window-id", "4294967296"}, HackCommand::Invalid, HackTarget::None, 0},
      {{"--window-id", "0x"}, HackCommand::Invalid, HackTarget::None, 0},
      {{"--window-id", "12a"}, HackCommand::Invalid, HackTarget::None, 0},
      {{"--window-id", "0"}, HackCommand::Invalid, HackTarget::None, 0},
      {{"--root", "/s"}, HackCommand::Invalid, HackTarget::None, 0},
      {{"--root", "--bogus"}, HackCommand::Invalid, HackTarget::None, 0},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const char* a : c.arguments) line += std::string(a) + " ";
    SCOPED_TRACE(line);
    HackOptions options;
    ASSERT_EQ(read(c.arguments, options), c.command);
    if (c.command != HackCommand::Hack) continue;
    EXPECT_EQ(options.target, c.target);
    EXPECT_EQ(options.windowId, c.windowId);
  }
}

// Every setting as its stored name and number.
std::vector<std::pair<std::string, std::uint32_t>> numbersOf(const Settings& record) {
  std::vector<std::pair<std::string, std::uint32_t>> numbers;
  for (const StoredValue& v : storedValuesOf(record)) numbers.emplace_back(v.name, v.number);
  return numbers;
}

TEST(HackOptions, SettingsForTheRunAndTheirRanges) {
  struct Case {
    std::vector<const char*> arguments;
    bool valid;
    Settings expected;  // from stored: music on, 24-hour clock, Detail 2, Volume 50, Gamma 70
  };
  Settings stored;
  stored.EnableMusic = true;
  stored.Detail = 2;
  stored.Volume = 50;
  stored.Gamma = 70;
  auto with = [&](auto change) {
    Settings s = stored;
    change(s);
    return s;
  };
  const Case cases[] = {
      {{"--window"}, true, stored},
      {{"--root"}, true, with([](Settings& s) { s.DefGamma = true; })},
      {{"--root", "--gamma", "100"}, true, with([](Settings& s) { s.Gamma = 100; })},
      {{"--window", "--detail", "0", "--volume", "1", "--no-music", "--clock", "--12-hour",
        "--fps"},
       true,
       with([](Settings& s) {
         s.Detail = 0;
         s.Volume = 1;
         s.EnableMusic = false;
         s.ShowClock = s.TimeFormat = s.ShowFPS = true;
       })},
      {{"--window", "--detail", "3"}, false, stored},
      {{"--window", "--volume", "0"}, false, stored},
      {{"--window", "--volume", "-5"}, false, stored},
      {{"--window", "--gamma", "101"}, false, stored},
      {{"--window", "--gamma", "99999999999999999999"}, false, stored},
      {{"--window", "--volume"}, false, stored},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const char* a : c.arguments) line += std::string(a) + " ";
    SCOPED_TRACE(line);
    HackOptions options;
    ASSERT_EQ(read(c.arguments, options), c.valid ? HackCommand::Hack : HackCommand::Invalid);
    if (!c.valid) continue;
    Settings record = stored;
    applyHackOptions(options, record);
    EXPECT_EQ(numbersOf(record), numbersOf(c.expected));
  }
}

TEST(OwnerLock, OneHolderUntilItLetsGoOrDies) {
  TempDir folder;
  const std::string path = (folder.path / "owner.lock").string();
  OwnerLock first, second;
  ASSERT_TRUE(first.take(path));
  EXPECT_FALSE(second.take(path));
  first.release();
  EXPECT_TRUE(second.take(path));
  second.release();
  // A holder killed outright leaves the lock free.
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  if (holder == 0) {
    OwnerLock lock;
    char held = lock.take(path) ? 1 : 0;
    (void)!write(ready[1], &held, 1);
    pause();
    _exit(0);
  }
  char held = 0;
  ASSERT_EQ(::read(ready[0], &held, 1), 1);
  EXPECT_EQ(held, 1);
  EXPECT_FALSE(first.take(path));
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_TRUE(first.take(path));
  // Never through a link another user could have planted.
  std::filesystem::create_symlink(folder.path / "elsewhere", folder.path / "link.lock");
  EXPECT_FALSE(second.take((folder.path / "link.lock").string()));
  EXPECT_FALSE(std::filesystem::exists(folder.path / "elsewhere"));
}

TEST(WindowProjection, TheFourToThreePictureStaysWhollyInsideAtTheWindowsShape) {
  const std::pair<int, int> sizes[] = {{800, 600},  {1920, 1080}, {3840, 600},
                                       {600, 1600}, {1, 1000},    {1000, 1}};
  for (auto [width, height] : sizes) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    const FrustumExtent f = frustumForWindow(width, height);
    EXPECT_NEAR((f.right - f.left) / (f.top - f.bottom), double(width) / height,
                1e-9 * width / height);
    EXPECT_LE(f.left, -0.666665);
    EXPECT_GE(f.right, 0.666665);
    EXPECT_LE(f.bottom, -0.5);
    EXPECT_GE(f.top, 0.5);
    // and no larger than needed: one pair of sides is the 4:3 one
    EXPECT_TRUE(f.right == 0.666665 || f.top == 0.5);
  }
  const FrustumExtent none = frustumForWindow(0, 0);
  EXPECT_EQ(none.right, 0.666665);
  EXPECT_EQ(none.top, 0.5);
}

}  // namespace
