// However a run ends, the display is left as the run found it: its gamma ramp (a calibration
// or night-light ramp included) and its mode, put back after a key, a signal, a crash or a
// killed connection.
#include <fstream>

#include "platform/owner_lock.h"
#include "tests/host/saver_x11_fixture.h"

namespace {

struct Ramp {
  std::vector<std::uint16_t> red, green, blue;
  bool operator==(const Ramp&) const = default;
};

Ramp rampOf(Display* display) {
  Ramp ramp;
  EXPECT_TRUE(primaryGammaRamp(display, ramp.red, ramp.green, ramp.blue));
  return ramp;
}

void savePpm(const fs::path& path, const std::vector<std::uint8_t>& rgb, int width, int height) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << width << ' ' << height << "\n255\n";
  out.write(reinterpret_cast<const char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
}

bool allBlack(const std::vector<std::uint8_t>& rgb) {
  for (std::uint8_t v : rgb)
    if (v != 0) return false;
  return true;
}

class DesktopRestore : public SaverX11 {
 protected:
  void SetUp() override {
    SaverX11::SetUp();
    if (IsSkipped()) return;
    // A night-light-like ramp the user had before the run.
    ASSERT_TRUE(server->run("xrandr --output screen --gamma 1.0:0.85:0.6"));
    before = rampOf(display());
    ASSERT_NE(before.red, before.blue);
    // A mode of its own for the run, so that the mode is restored too.
    server->run("xrandr --newmode 1024x768_test 63.5 1024 1072 1176 1328 768 771 775 798");
    server->run("xrandr --addmode screen 1024x768_test");
  }
  void TearDown() override {
    SaverX11::TearDown();
    if (server != nullptr && server->ok()) server->run("xrandr --output screen --gamma 1:1:1");
  }
  // The display record; the owner lock beside it stays.
  bool recordLeft() const {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(config / "plasmora", error))
      if (entry.path().filename().string().starts_with("desktop-")) return true;
    return false;
  }

  Ramp before;
};

TEST_F(DesktopRestore, EveryEndOfARunPutsTheRampAndTheModeBack) {
  writeSettings(
      "EnableMusic=0\nDefGamma=0\nGamma=100\nUseDesktop=0\nWidth=1024\nHeight=768\nDepth=32\n");
  struct Ending {
    const char* name;
    const char* crash;  // PLASMORA_TEST_CRASH, or null
    int signal;         // sent from outside, 0 for none
    int status;         // exit status; 128 + n for death by signal n
  };
  const Ending endings[] = {
      {"key", nullptr, 0, 0},
      {"SIGTERM", nullptr, SIGTERM, 0},
      {"SIGHUP", nullptr, SIGHUP, 0},
      {"SIGQUIT", nullptr, SIGQUIT, 0},
      {"xkill", nullptr, 0, 0},
      {"abort", "abort", 0, 128 + SIGABRT},
      {"segv", "segv", 0, 128 + SIGSEGV},
  };
  for (const Ending& ending : endings) {
    SCOPED_TRACE(ending.name);
    environment.clear();
    program = ending.crash != nullptr ? crashingSaverPath : saverPath;
    if (ending.crash != nullptr) environment.emplace_back("PLASMORA_TEST_CRASH", ending.crash);
    startSaver();
    if (ending.crash == nullptr) {
      // Gamma 100 is the exponent 0.5 over the whole of the primary output.
      Ramp during = rampOf(display());
      ASSERT_EQ(during.red.size(), 256u);
      EXPECT_EQ(during.red[1], 4096);
      EXPECT_EQ(during.green[128], 46340);
      EXPECT_EQ(during.blue[255], 65407);
      EXPECT_EQ(rootSize(display()), "1024x768");
      EXPECT_TRUE(recordLeft());
      if (ending.signal != 0)
        kill(saver, ending.signal);
      else if (std::string(ending.name) == "xkill")
        ASSERT_TRUE(server->run("xkill -id " + std::to_string(primary.window) + " >/dev/null"));
      else
        input("key a");
    }
    EXPECT_EQ(exitStatus(), ending.status);
    // The restorer of a crash may still be finishing.
    for (auto end = std::chrono::steady_clock::now() + eventCeiling;
         rampOf(display()) != before && std::chrono::steady_clock::now() < end;)
      std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(rampOf(display()) == before);
    EXPECT_EQ(rootSize(display()), "1280x1024");
    EXPECT_FALSE(recordLeft());
  }
}

TEST_F(DesktopRestore, DefaultGammaOrAnotherOwnerLeavesTheRampAlone) {
  for (bool otherOwner : {false, true}) {
    SCOPED_TRACE(otherOwner ? "a hack owns the ramp" : "DefGamma");
    OwnerLock other;
    if (otherOwner) {
      fs::create_directories(config / "plasmora");
      ASSERT_TRUE(other.take(config / "plasmora" / "owner.lock"));
    }
    writeSettings(std::string("EnableMusic=0\nGamma=100\nDefGamma=") + (otherOwner ? "0" : "1"));
    startSaver();
    EXPECT_TRUE(rampOf(display()) == before);
    input("key a");
    EXPECT_EQ(exitStatus(), 0);
    EXPECT_TRUE(rampOf(display()) == before);
  }
}

TEST_F(DesktopRestore, AfterSigkillTheRestoreOptionPutsTheDisplayBack) {
  writeSettings(
      "EnableMusic=0\nDefGamma=0\nGamma=0\nUseDesktop=0\nWidth=1024\nHeight=768\nDepth=32\n");
  startSaver();
  kill(saver, SIGKILL);
  EXPECT_EQ(exitStatus(), 128 + SIGKILL);
  EXPECT_FALSE(rampOf(display()) == before);
  std::string restore =
      "XDG_RUNTIME_DIR=" + config.string() + " " + saverPath + " --restore-desktop";
  EXPECT_TRUE(server->run(restore));
  EXPECT_TRUE(rampOf(display()) == before);
  EXPECT_EQ(rootSize(display()), "1280x1024");
  // Nothing left to restore: a second call changes nothing and succeeds.
  EXPECT_TRUE(server->run(restore));
}

TEST_F(DesktopRestore, AMessageBoxNeverHoldsUpATerminationSignal) {
  // No archive: the first picture fails to load and its message box opens during the run.
  writeSettings("Path=\"" + config.string() + "\"\nEnableMusic=0\nDefGamma=0\n");
  saver = fork();
  if (saver == 0) {
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", config.c_str(), 1);
    execl(saverPath, saverPath, "/s", static_cast<char*>(nullptr));
    _exit(127);
  }
  for (int i = 0; i < 250 && windowsTitled(display(), "Plasmora").empty(); ++i)
    std::this_thread::sleep_for(20ms);
  std::this_thread::sleep_for(500ms);
  kill(saver, SIGTERM);
  EXPECT_EQ(exitStatus(), 0);
  EXPECT_TRUE(rampOf(display()) == before);
}

TEST_F(DesktopRestore, TheLoadingPictureAndThenAMovingShow) {
  const fs::path shots = PLASMORA_BINARY_DIR "/tests/host/run-shots";
  std::vector<std::uint8_t> loading;
  writeSettings("EnableMusic=0\nDefGamma=1\n");
  startSaver("/s", [&] {
    if (!loading.empty() || windowsTitled(display(), "Plasmora").empty()) return;
    std::vector<std::uint8_t> shot = rootPixels(display(), 0, 0, 1280, 1024);
    // Xvfb's root is white and a new window black; the first picture is the loading picture.
    bool white = true;
    for (std::uint8_t v : shot) white = white && v == 255;
    if (!white && !allBlack(shot)) loading = shot;
  });
  // The loading picture stays until the first frame, which a slow build may take seconds to
  // draw (its shaders are compiled then).
  std::vector<std::uint8_t> first = rootPixels(display(), 0, 0, 1280, 1024);
  for (int i = 0; i < 200 && first == loading; ++i) {
    std::this_thread::sleep_for(100ms);
    first = rootPixels(display(), 0, 0, 1280, 1024);
  }
  std::this_thread::sleep_for(1000ms);
  std::vector<std::uint8_t> second = rootPixels(display(), 0, 0, 1280, 1024);
  input("key a");
  EXPECT_EQ(exitStatus(), 0);
  savePpm(shots / "0-loading.ppm", loading, 1280, 1024);
  savePpm(shots / "1-show.ppm", first, 1280, 1024);
  savePpm(shots / "2-show.ppm", second, 1280, 1024);
  ASSERT_FALSE(loading.empty());
  EXPECT_FALSE(allBlack(loading));
  EXPECT_FALSE(allBlack(first));
  EXPECT_FALSE(allBlack(second));
  EXPECT_NE(loading, first);
  EXPECT_NE(first, second);
}

}  // namespace
