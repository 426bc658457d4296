// The audio module as the music player uses it, heard through SDL's disk driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "audio/module/audio_module_api.h"
#include "tests/audio/audio_test_sound.h"

namespace {

class AudioModule : public ::testing::Test {
 protected:
  void SetUp() override {
    writeOutputTo(output);
    BASS_SetVolume(100);
  }
  void TearDown() override { BASS_Free(); }

  TempDir scratch;
  const std::string output = (scratch.path / "out.raw").string();
};

std::size_t firstSound(const std::vector<std::int16_t>& samples) {
  return std::find_if(samples.begin(), samples.end(), [](std::int16_t s) { return s != 0; }) -
         samples.begin();
}

TEST_F(AudioModule, PlaysTheDecodedSamplesAtItsVolumeAndLoopsWithoutAGap) {
  const std::vector<std::uint8_t> ogg = testPiece();
  const std::vector<std::int16_t> pcm = decodePcm(ogg, scratch);
  ASSERT_GT(pcm.size(), 40000u);
  struct Case {
    std::uint32_t volume;
    bool loop;  // else silence follows the one pass
  } cases[] = {{100, true}, {37, true}, {1, true}, {100, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "volume " << c.volume << (c.loop ? " loop" : ""));
    std::filesystem::remove(output);
    // Three passes of the piece.
    std::vector<std::int16_t> expected(3 * pcm.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
      expected[i] = c.loop || i < pcm.size() ? pcm[i % pcm.size()] * int(c.volume) / 100 : 0;
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    ASSERT_TRUE(BASS_SetVolume(c.volume));
    const AudioHandle stream = BASS_StreamCreateFile(1, ogg.data(), 0, ogg.size(), 0);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_StreamPlay(stream, 0, c.loop ? audioLoopFlag : 0));
    // The output ran, silent, before the stream played; it begins within two buffers.
    ASSERT_TRUE(outputGrows(output, (expected.size() + 4 * 4096) * 2));
    ASSERT_TRUE(BASS_Free());
    const std::vector<std::int16_t> heard = samplesOf(output);
    const std::size_t start = firstSound(heard), lead = firstSound(expected);
    ASSERT_GE(start, lead);
    ASSERT_GE(heard.size(), start - lead + expected.size());
    std::size_t mismatch = 0;
    while (mismatch < expected.size() &&
           std::abs(heard[start - lead + mismatch] - expected[mismatch]) <= 1)
      ++mismatch;
    EXPECT_EQ(mismatch, expected.size()) << "first wrong sample of " << pcm.size() << " per pass";
  }
}

TEST_F(AudioModule, RefusesWhatItCannotPlay) {
  const std::vector<std::uint8_t> ogg = testPiece(0.2), slow = testPiece(0.2, 22050);
  EXPECT_EQ(BASS_StreamCreateFile(1, ogg.data(), 0, ogg.size(), 0), 0u) << "no output yet";
  ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
  EXPECT_FALSE(BASS_Init(1, 44100, 0, nullptr, nullptr));
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  } cases[] = {{"empty", {}},
               {"headers cut short", {ogg.begin(), ogg.begin() + 120}},
               {"not Ogg", std::vector<std::uint8_t>(5000, 'O')},
               {"another rate", slow}};
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bytes = c.bytes;
    bytes.reserve(1);  // a valid address even when empty
    EXPECT_EQ(BASS_StreamCreateFile(1, bytes.data(), 0, bytes.size(), 0), 0u) << c.name;
    EXPECT_EQ(BASS_ErrorGetCode(), AudioErrorFormat) << c.name;
  }
  EXPECT_FALSE(BASS_StreamPlay(7, 0, audioLoopFlag));
  EXPECT_FALSE(BASS_SetVolume(101));
  EXPECT_EQ(BASS_GetVolume(), 100);
  ASSERT_TRUE(BASS_Free());

  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  EXPECT_FALSE(BASS_Init(1, 44100, 0, nullptr, nullptr));
  EXPECT_EQ(BASS_ErrorGetCode(), AudioErrorDevice);
}

}  // namespace
