#include "tests/tools/archive/packer_cases.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

std::vector<std::uint8_t> noiseBytes(std::size_t size, std::uint32_t seed) {
  std::vector<std::uint8_t> out(size);
  std::uint32_t s = seed * 2654435761u + 1;
  for (auto& b : out) {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    b = std::uint8_t(s >> 24);
  }
  return out;
}

std::vector<std::uint8_t> textBytes(std::size_t size) {
  std::vector<std::uint8_t> base;
  std::ifstream in("/usr/share/common-licenses/GPL-3", std::ios::binary);
  if (in) base.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (base.empty()) {
    static const char* words[] = {"the ",   "cell ",  "membrane ", "nucleus ", "of ",
                                  "and ",   "DNA ",   "strand ",   "is ",      "a ",
                                  "copy\n", "light ", "turns ",    "slowly ",  "inside "};
    std::vector<std::uint8_t> r = noiseBytes(40000, 99);
    for (std::uint8_t x : r) {
      const char* w = words[x % 15];
      base.insert(base.end(), w, w + std::strlen(w));
    }
  }
  std::vector<std::uint8_t> out;
  while (out.size() < size) out.insert(out.end(), base.begin(), base.end());
  out.resize(size);
  return out;
}

std::vector<std::uint8_t> signalBytes(std::size_t frames, int channels, bool wide,
                                      std::uint32_t seed) {
  std::vector<std::uint8_t> noise = noiseBytes(frames * channels, seed);
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) {
      double v = 0.7 * std::sin(double(i) * 0.013 * (c + 1)) +
                 0.2 * std::sin(double(i) * 0.071 + c) + (noise[i * channels + c] - 128) / 4096.0;
      if (wide) {
        std::int16_t s = std::int16_t(v * 24000);
        out.push_back(std::uint8_t(s & 0xFF));
        out.push_back(std::uint8_t((s >> 8) & 0xFF));
      } else {
        out.push_back(std::uint8_t(128 + int(v * 120)));
      }
    }
  return out;
}

namespace {

std::vector<std::uint8_t> floatMesh(std::size_t vertices) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < vertices; ++i) {
    float v[6] = {
        float(std::sin(i * 0.01)), float(std::cos(i * 0.013)), float(i % 100) * 0.25f, 0.0f, 1.0f,
        float(i % 7) / 7.0f};
    const auto* p = reinterpret_cast<const std::uint8_t*>(v);
    out.insert(out.end(), p, p + sizeof v);
  }
  return out;
}

PackEntry entry(std::string name, std::vector<std::uint8_t> data, int audio = 0) {
  return PackEntry{std::move(name), std::move(data), audio};
}

}  // namespace

std::vector<PackEntry> smallPackerCases() {
  std::vector<PackEntry> e;
  e.push_back(entry("empty", {}));
  e.push_back(entry("one", {'x'}));
  e.push_back(entry("text\\short.txt", textBytes(3000)));
  e.push_back(entry("noise.bin", noiseBytes(5000, 1)));
  e.push_back(entry("zero\\run", std::vector<std::uint8_t>(4000, 0)));
  e.push_back(entry("mesh.dat", floatMesh(400)));
  e.push_back(entry("music\\mono.raw", signalBytes(3000, 1, false, 2), 1));
  e.push_back(entry("music\\stereo16.raw", signalBytes(2000, 2, true, 3), 4));
  e.push_back(entry("empty2", {}));
  e.push_back(entry("text\\again.txt", textBytes(2000)));
  return e;
}

std::vector<PackEntry> packerCases() {
  std::vector<PackEntry> e;
  e.push_back(entry("empty", {}));
  e.push_back(entry("one", {'q'}));
  // Lengths at the edges of the short, long and old-distance length codes.
  for (std::size_t n : {2,   3,   4,   5,   6,   255, 256, 257, 258, 259, 260,
                        261, 262, 270, 300, 516, 517, 518, 519, 520, 521}) {
    e.push_back(entry("run\\" + std::to_string(n), std::vector<std::uint8_t>(n, 'a')));
    std::vector<std::uint8_t> pattern;
    for (std::size_t i = 0; i < n; ++i) pattern.push_back(std::uint8_t("abcab"[i % 5]));
    e.push_back(entry("pattern\\" + std::to_string(n), pattern));
  }
  e.push_back(entry("zeros", std::vector<std::uint8_t>(2 * 1024 * 1024 + 17, 0)));
  e.push_back(entry("noise", noiseBytes(80000, 5)));
  e.push_back(entry("text.txt", textBytes(80000)));
  e.push_back(entry("mesh.dat", floatMesh(6000)));
  e.push_back(entry("two\\letters", [] {
    std::vector<std::uint8_t> v = noiseBytes(30000, 8);
    for (auto& b : v) b = (b & 1) ? 'a' : 'b';
    return v;
  }()));
  {
    // Longer than the window, with repeats from near and far (several flushes).
    std::vector<std::uint8_t> block = noiseBytes(300000, 11);
    std::vector<std::uint8_t> text = textBytes(100000);
    std::vector<std::uint8_t> big = block;
    big.insert(big.end(), text.begin(), text.end());
    big.insert(big.end(), block.begin(), block.end());
    std::vector<std::uint8_t> more = noiseBytes(500000, 12);
    big.insert(big.end(), more.begin(), more.end());
    big.insert(big.end(), block.begin(), block.begin() + 100000);
    big.insert(big.end(), text.begin(), text.end());
    e.push_back(entry("big\\window.bin", big));
  }
  {
    // Repeats from just below and above the distances 0x101, 0x2000 and 0x40000.
    std::vector<std::uint8_t> r = noiseBytes(0x40000 + 64, 13);
    std::vector<std::uint8_t> v = r;
    for (std::size_t back :
         {0xFFu, 0x100u, 0x101u, 0x102u, 0x1FFFu, 0x2000u, 0x2001u, 0x3FFFFu, 0x40000u, 0x40001u}) {
      std::size_t from = v.size() - back;
      for (std::size_t k = 0; k < 7; ++k) v.push_back(v[from + k]);
      std::vector<std::uint8_t> gap = noiseBytes(3, std::uint32_t(back));
      v.insert(v.end(), gap.begin(), gap.end());
    }
    e.push_back(entry("far.bin", v));
  }
  for (int channels = 1; channels <= 4; ++channels) {
    e.push_back(entry("audio\\u8x" + std::to_string(channels),
                      signalBytes(12000 + channels, channels, false, 20 + channels), channels));
  }
  e.push_back(entry("audio\\s16mono", signalBytes(12000, 1, true, 30), 2));
  e.push_back(entry("audio\\s16stereo", signalBytes(8001, 2, true, 31), 4));
  e.push_back(entry("audio\\odd", signalBytes(5001, 3, false, 32), 3));
  e.push_back(entry("after\\audio.txt", textBytes(20000)));
  e.push_back(entry("empty\\last", {}));
  return e;
}

std::vector<PackEntry> manySmallPackerCases() {
  std::vector<PackEntry> entries;
  for (int i = 0; i < 60; ++i) {
    std::vector<std::uint8_t> data = textBytes(200 + 37 * i);
    if (i % 7 == 3) data = noiseBytes(100 + i, i);
    if (i % 11 == 5) data.clear();
    int audio = i % 9 == 4 ? 1 + i % 4 : 0;
    if (audio) data = signalBytes(300 + i, audio, false, i);
    entries.push_back({"scenes\\s" + std::to_string(i) + ".txt", data, audio});
  }
  return entries;
}
