// The music player with the real audio module, loaded from the Path folder as in a run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "audio/module/audio_module_api.h"
#include "audio/music_player.h"
#include "settings/settings.h"
#include "tests/assets/archive/test_archive.h"
#include "tests/audio/audio_test_sound.h"

namespace {

class MusicPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings = Settings{};
    settings.Volume = 5;
  }
  void TearDown() override {
    stopAudio();
    std::filesystem::current_path(previous);
  }

  const std::filesystem::path previous = std::filesystem::current_path();
  TempDir scratch;
  const std::string output = (scratch.path / "out.raw").string();
};

TEST_F(MusicPlayerTest, PlaysTheMusicAtTheVolumeSettingAndPutsTheVolumeBack) {
  const std::vector<std::uint8_t> ogg = testPiece();
  enum Music { Good, Missing, Damaged };
  struct Case {
    const char* name;
    bool library;  // libbass.so in the Path folder
    bool output;   // the output device opens
    Music music;
    bool started;
    int volumeWhilePlaying;
    bool heard;
  } cases[] = {{"playing", true, true, Good, true, 5, true},
               {"no music.ogg", true, true, Missing, true, 5, false},
               {"damaged music.ogg", true, true, Damaged, true, 5, false},
               {"no output", true, false, Good, true, 37, false},
               {"no library", false, true, Good, false, 37, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir data;
    TestArchive archive;
    if (c.music != Missing)
      archive.stored("music.ogg",
                     c.music == Good ? ogg : std::vector(ogg.begin(), ogg.begin() + 90));
    data.write("data.sdd", archive.bytes());
    std::filesystem::current_path(data.path);
    settings.Path = c.library ? PLASMORA_DATA_DIR : data.path.string();
    writeOutputTo(output);
    if (!c.output) setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    std::filesystem::remove(output);
    ASSERT_TRUE(BASS_SetVolume(37));
    savedVolume = 0;  // as in a fresh process
    {
      MusicPlayer player;
      EXPECT_EQ(startAudio(0), c.started);
      player.playMusic();
      EXPECT_EQ(BASS_GetVolume(), c.volumeWhilePlaying);
      if (c.started && c.output) {
        EXPECT_TRUE(outputGrows(output, 100000));
      }
      stopAudio();
    }
    const std::vector<std::int16_t> heard = samplesOf(output);
    EXPECT_EQ(std::any_of(heard.begin(), heard.end(), [](std::int16_t s) { return s != 0; }),
              c.heard);
    EXPECT_EQ(BASS_GetVolume(), 37);
  }
}

}  // namespace
