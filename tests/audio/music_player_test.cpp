// The music player with the real audio module, loaded from the Path folder as in a run.
#include <gtest/gtest.h>

#include "audio/module/audio_module_api.h"
#include "audio/music_player.h"
#include "settings/settings.h"
#include "tests/assets/archive/test_archive.h"
#include "tests/audio/audio_test_sound.h"

namespace {

TEST(MusicPlayer, PlaysTheMusicAtTheVolumeSettingAndPutsTheVolumeBack) {
  const std::filesystem::path previous = std::filesystem::current_path();
  const std::vector<std::uint8_t> ogg = testPiece();
  TempDir scratch;
  const std::string output = (scratch.path / "out.raw").string();
  enum Music { Good, Missing, Damaged };
  struct Case {
    const char* name;
    bool library;  // libbass.so in the Path folder
    bool output;   // the output device opens
    Music music;
    int volumeWhilePlaying;  // the module's, 37 before the run
    bool heard;
  } cases[] = {{"playing", true, true, Good, 5, true},
               {"no music.ogg", true, true, Missing, 5, false},
               {"damaged music.ogg", true, true, Damaged, 5, false},
               {"no output", true, false, Good, 37, false},
               {"no library", false, true, Good, 37, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir data;
    TestArchive archive;
    if (c.music != Missing)
      archive.stored("music.ogg",
                     c.music == Good ? ogg : std::vector(ogg.begin(), ogg.begin() + 90));
    data.write("data.sdd", archive.bytes());
    std::filesystem::current_path(data.path);
    settings = Settings{};
    settings.Volume = 5;
    settings.Path = c.library ? PLASMORA_DATA_DIR : data.path.string();
    writeOutputTo(output);
    if (!c.output) setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    std::filesystem::remove(output);
    ASSERT_TRUE(BASS_SetVolume(37));
    savedVolume = 0;  // as in a fresh process
    MusicPlayer player;
    EXPECT_EQ(startAudio(0), c.library);  // only a missing module stops the run
    player.playMusic();
    EXPECT_EQ(BASS_GetVolume(), c.volumeWhilePlaying);
    EXPECT_TRUE(!c.library || !c.output || outputGrows(output, 100000));
    stopAudio();
    EXPECT_EQ(readFile(output).find_first_not_of('\0') != std::string::npos, c.heard);
    EXPECT_EQ(BASS_GetVolume(), 37);
  }
  std::filesystem::current_path(previous);
}

TEST(MusicPlayer, TakesTheModuleFromPathAndOnlyWithoutOneThereFromTheInstalledFolder) {
  TempDir scratch;
  const std::string path = (scratch.path / "path").string();
  const std::string installed = (scratch.path / "installed").string();
  struct Case {
    const char* name;
    bool inPath, inInstalled;
    bool installedNamed;  // a non-empty installed folder is given
    const std::string& wanted;
  } cases[] = {{"in both: Path's wins", true, true, true, path},
               {"only installed", false, true, true, installed},
               {"nowhere: Path's, which fails to load as before", false, false, true, path},
               {"no installed folder", false, false, false, path}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(path);
    std::filesystem::remove_all(installed);
    std::filesystem::create_directories(path);
    std::filesystem::create_directories(installed);
    // Not loadable: which file is taken must not depend on whether it loads.
    if (c.inPath) scratch.write("path/libbass.so", "not a library");
    if (c.inInstalled) scratch.write("installed/libbass.so", "not a library");
    EXPECT_EQ(audioModuleFile(path, c.installedNamed ? installed : ""), c.wanted + "/libbass.so");
  }
}

}  // namespace
