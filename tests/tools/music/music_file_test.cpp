#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>

#include <vorbis/vorbisfile.h>

#include "tools/music/music_synth.h"
#include "tools/music/vorbis_writer.h"

namespace {

struct Decoded {
  long rate = 0;
  int channels = 0;
  ogg_int64_t declaredFrames = 0;
  std::vector<float> left, right;
};

bool decodeVorbis(const std::vector<unsigned char>& bytes, Decoded& out) {
  // A stream over the bytes; the decoder closes it.
  FILE* in = fmemopen(const_cast<unsigned char*>(bytes.data()), bytes.size(), "rb");
  OggVorbis_File vf;
  if (in == nullptr) return false;
  if (ov_open(in, &vf, nullptr, 0) != 0) {
    std::fclose(in);
    return false;
  }
  vorbis_info* vi = ov_info(&vf, -1);
  out.rate = vi->rate;
  out.channels = vi->channels;
  out.declaredFrames = ov_pcm_total(&vf, -1);
  int section = 0;
  for (;;) {
    float** pcm = nullptr;
    long n = ov_read_float(&vf, &pcm, 4096, &section);
    if (n < 0) {
      ov_clear(&vf);
      return false;
    }
    if (n == 0) break;
    out.left.insert(out.left.end(), pcm[0], pcm[0] + n);
    out.right.insert(out.right.end(), pcm[out.channels > 1 ? 1 : 0],
                     pcm[out.channels > 1 ? 1 : 0] + n);
  }
  ov_clear(&vf);
  return true;
}

void fft(std::vector<std::complex<double>>& a) {
  const size_t n = a.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    std::complex<double> w = std::polar(1.0, -2 * M_PI / double(len));
    for (size_t i = 0; i < n; i += len) {
      std::complex<double> wn = 1;
      for (size_t k = 0; k < len / 2; ++k, wn *= w) {
        auto u = a[i + k], v = a[i + k + len / 2] * wn;
        a[i + k] = u + v;
        a[i + k + len / 2] = u - v;
      }
    }
  }
}

// Percentile of |x[n+1] - x[n]| (order 1) or of the second difference (order 2).
double stepPercentile(const std::vector<float>& x, int order, double q) {
  std::vector<float> d;
  d.reserve(x.size() / 7 + 1);
  for (size_t i = 0; i + 2 < x.size(); i += 7)  // a sample of positions is plenty
    d.push_back(order == 1 ? std::fabs(x[i + 1] - x[i])
                           : std::fabs(x[i + 2] - 2 * x[i + 1] + x[i]));
  std::nth_element(d.begin(), d.begin() + long(q * (d.size() - 1)), d.end());
  return d[size_t(q * (d.size() - 1))];
}

// Loop seam: the step from the last frame to the first, and the bend there, are no larger
// than the ordinary ones inside the piece.
void expectSeamless(const std::vector<float>& x, const char* what) {
  SCOPED_TRACE(what);
  const size_t n = x.size();
  double step = std::fabs(x[0] - x[n - 1]);
  double bend = std::fabs(x[0] - 2 * x[n - 1] + x[n - 2]);
  EXPECT_LE(step, stepPercentile(x, 1, 0.99));
  EXPECT_LE(bend, stepPercentile(x, 2, 0.999));
}

class MusicFile : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    track = synthesiseMusic();
    std::string error;
    ogg = encodeVorbis(track, 0.4f, error);
    ASSERT_FALSE(ogg.empty()) << error;
    ASSERT_TRUE(decodeVorbis(ogg, decoded));
  }
  static StereoTrack track;
  static std::vector<unsigned char> ogg;
  static Decoded decoded;
};
StereoTrack MusicFile::track;
std::vector<unsigned char> MusicFile::ogg;
Decoded MusicFile::decoded;

}  // namespace

TEST_F(MusicFile, DecodesAsStereo44100OfOneToTwoMinutes) {
  EXPECT_EQ(decoded.rate, 44100);
  EXPECT_EQ(decoded.channels, 2);
  EXPECT_EQ(decoded.declaredFrames, ogg_int64_t(track.frames()));
  EXPECT_EQ(decoded.left.size(), track.frames());
  double seconds = double(decoded.left.size()) / 44100;
  EXPECT_GE(seconds, 60);
  EXPECT_LE(seconds, 120);
}

TEST_F(MusicFile, LevelsStayBelowFullScaleWithoutOffsetOrSilence) {
  for (const std::vector<float>* side : {&decoded.left, &decoded.right}) {
    float peak = 0;
    double sum = 0;
    for (float v : *side) {
      peak = std::max(peak, std::fabs(v));
      sum += v;
    }
    EXPECT_LT(peak, 0.98f);  // no clipping, with room for the codec's ripple
    EXPECT_GT(peak, 0.5f);   // and not timidly quiet
    EXPECT_LT(std::fabs(sum / double(side->size())), 1e-3);
    // Every four seconds carry sound: no voice drops out, the loop never falls silent.
    const size_t window = 4 * 44100;
    for (size_t start = 0; start + window <= side->size(); start += window) {
      double sq = 0;
      for (size_t i = start; i < start + window; ++i) sq += double((*side)[i]) * (*side)[i];
      EXPECT_GT(std::sqrt(sq / double(window)), 0.03) << "at " << start / 44100 << " s";
    }
  }
  // Two different sides, not one copied.
  double lr = 0, ll = 0, rr = 0;
  for (size_t i = 0; i < decoded.left.size(); ++i) {
    lr += double(decoded.left[i]) * decoded.right[i];
    ll += double(decoded.left[i]) * decoded.left[i];
    rr += double(decoded.right[i]) * decoded.right[i];
  }
  EXPECT_LT(lr / std::sqrt(ll * rr), 0.99);
}

TEST_F(MusicFile, SpectrumSitsInTheAudibleMiddleWithoutRumbleOrHiss) {
  const size_t n = 8192;
  std::vector<double> power(n / 2, 0.0);
  for (size_t start = 0; start + n <= decoded.left.size(); start += decoded.left.size() / 24) {
    std::vector<std::complex<double>> a(n);
    for (size_t i = 0; i < n; ++i) {
      double hann = 0.5 - 0.5 * std::cos(2 * M_PI * double(i) / double(n));
      a[i] = hann * 0.5 * (decoded.left[start + i] + decoded.right[start + i]);
    }
    fft(a);
    for (size_t k = 0; k < n / 2; ++k) power[k] += std::norm(a[k]);
  }
  auto band = [&](double lo, double hi) {
    double s = 0;
    for (size_t k = 0; k < n / 2; ++k) {
      double hz = double(k) * 44100 / double(n);
      if (hz >= lo && hz < hi) s += power[k];
    }
    return s;
  };
  double total = band(0, 22050);
  EXPECT_LT(band(0, 25) / total, 0.005);       // no DC or subsonic rumble
  EXPECT_LT(band(8000, 22050) / total, 0.02);  // no hiss
  EXPECT_GT(band(60, 2000) / total, 0.6);      // where the chords and bells live
}

TEST_F(MusicFile, NoClickAnywhere) {
  // A note cut off or a glitch in an oscillator shows as one step far above the rest.
  for (const std::vector<float>* side : {&track.left, &track.right}) {
    float biggest = 0;
    for (size_t i = 0; i + 1 < side->size(); ++i)
      biggest = std::max(biggest, std::fabs((*side)[i + 1] - (*side)[i]));
    EXPECT_LT(biggest, 4 * stepPercentile(*side, 1, 0.99));
  }
}

TEST_F(MusicFile, LastFrameRunsOnIntoTheFirstAndTheFirstPlayStartsNearSilence) {
  // Playback begins from silence: a first frame far from zero would click.
  EXPECT_LT(std::fabs(decoded.left[0]) + std::fabs(decoded.right[0]), 0.02f);
  expectSeamless(track.left, "synthesised left");
  expectSeamless(track.right, "synthesised right");
  expectSeamless(decoded.left, "decoded left");
  expectSeamless(decoded.right, "decoded right");
}

TEST_F(MusicFile, SynthesisingAgainGivesTheSameBytes) {
  std::string error;
  EXPECT_EQ(encodeVorbis(synthesiseMusic(), 0.4f, error), ogg);
}

TEST(MusicEncoder, RefusesAnEmptyOrUnevenTrack) {
  std::string error;
  StereoTrack empty;
  EXPECT_TRUE(encodeVorbis(empty, 0.4f, error).empty());
  EXPECT_FALSE(error.empty());
  StereoTrack uneven;
  uneven.left.assign(100, 0.0f);
  uneven.right.assign(99, 0.0f);
  error.clear();
  EXPECT_TRUE(encodeVorbis(uneven, 0.4f, error).empty());
  EXPECT_FALSE(error.empty());
}
