// The audio module as the music player uses it, heard through SDL's disk driver.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>

#include "audio/module/audio_module_api.h"
#include "tests/audio/audio_test_sound.h"

namespace {

class AudioModule : public ::testing::Test {
 protected:
  void SetUp() override { writeOutputTo(output); }
  void TearDown() override { BASS_Free(); }
  TempDir scratch;
  const std::string output = (scratch.path / "out.raw").string();
};

// Interleaved samples as libvorbisfile's own file reader decodes them.
std::vector<std::int16_t> decoded(const std::string& file) {
  std::vector<std::int16_t> pcm;
  OggVorbis_File vf;
  if (ov_fopen(file.c_str(), &vf) != 0) return pcm;
  std::int16_t buffer[2048];
  int link = 0;
  for (long got; (got = ov_read(&vf, (char*)buffer, sizeof buffer, 0, 2, 1, &link)) > 0;)
    pcm.insert(pcm.end(), buffer, buffer + got / 2);
  ov_clear(&vf);
  return pcm;
}

std::size_t firstSound(const std::vector<std::int16_t>& s) {
  return std::find_if(s.begin(), s.end(), [](std::int16_t x) { return x != 0; }) - s.begin();
}

TEST_F(AudioModule, PlaysTheDecodedSamplesAtItsVolumeAndLoopsWithoutAGap) {
  const std::vector<std::uint8_t> ogg = testPiece();
  const std::vector<std::int16_t> pcm = decoded(scratch.write("piece.ogg", ogg));
  ASSERT_GT(pcm.size(), 40000u);
  struct Case {
    int volume;
    bool loop;  // else silence follows the one pass
  } cases[] = {{100, true}, {37, true}, {1, true}, {100, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "volume " << c.volume << (c.loop ? " loop" : ""));
    std::filesystem::remove(output);
    std::vector<std::int16_t> expected(3 * pcm.size());  // three passes
    for (std::size_t i = 0; i < expected.size(); ++i)
      expected[i] = c.loop || i < pcm.size() ? pcm[i % pcm.size()] * c.volume / 100 : 0;
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    ASSERT_TRUE(BASS_SetVolume(c.volume));
    const AudioHandle stream = BASS_StreamCreateFile(1, ogg.data(), 0, ogg.size(), 0);
    ASSERT_TRUE(BASS_StreamPlay(stream, 0, c.loop ? audioLoopFlag : 0));
    // The output ran, silent, before the stream played; it begins within two buffers.
    ASSERT_TRUE(outputGrows(output, (expected.size() + 4 * 4096) * 2));
    ASSERT_TRUE(BASS_Free());
    const std::vector<std::int16_t> heard = samplesOf(output);
    const std::size_t start = firstSound(heard), lead = firstSound(expected);
    ASSERT_GE(start, lead);
    ASSERT_GE(heard.size(), start - lead + expected.size());
    std::size_t same = 0;
    while (same < expected.size() && std::abs(heard[start - lead + same] - expected[same]) <= 1)
      ++same;
    EXPECT_EQ(same, expected.size()) << "first wrong sample; " << pcm.size() << " per pass";
  }
}

}  // namespace
