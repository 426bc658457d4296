// The packer checked through the project's own reader, plus the parts a reader cannot see:
// header fields, code lengths, timestamps and the command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "assets/archive/archive_reader.h"
#include "assets/archive/crc32.h"
#include "tests/support/temp_dir.h"
#include "tests/tools/archive/packer_cases.h"
#include "tools/archive/archive_writer.h"
#include "tools/archive/huffman_lengths.h"
#include "tools/archive/pack_command.h"

namespace {

std::uint32_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8);
}
std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return le16(b, at) | (le16(b, at + 2) << 16);
}
std::uint32_t plainCrc(const std::uint8_t* p, std::size_t n) { return ~crc32(0xFFFFFFFFu, p, n); }

std::vector<std::uint8_t> pack(const std::vector<PackEntry>& entries, PackOptions options) {
  std::vector<std::uint8_t> out;
  std::string error;
  EXPECT_TRUE(writeArchive(entries, options, out, error)) << error;
  return out;
}

// Every entry read back by position through the reader, compared byte for byte.
void expectRoundTrip(const std::vector<PackEntry>& entries, const std::vector<std::uint8_t>& arc) {
  ArchiveList list;
  ArchiveStatus status;
  ASSERT_EQ(listArchiveFromMemory(arc.data(), arc.size(), list, &status), entries.size());
  EXPECT_EQ(status, ArchiveStatus::Ok);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::unique_ptr<std::uint8_t[]> buffer;
    std::uint32_t size = 0;
    ASSERT_TRUE(readArchiveEntryAtFromMemory(std::uint32_t(i), arc.data(), arc.size(), buffer, size,
                                             &status))
        << entries[i].name << ": " << archiveStatusText(status);
    ASSERT_EQ(size, entries[i].data.size()) << entries[i].name;
    EXPECT_TRUE(size == 0 || std::memcmp(buffer.get(), entries[i].data.data(), size) == 0)
        << entries[i].name;
  }
}

}  // namespace

TEST(HuffmanLengths, OptimalWhenTheLimitDoesNotBind) {
  EXPECT_EQ(limitedCodeLengths({1, 1, 2, 4}, 15), (std::vector<std::uint8_t>{3, 3, 2, 1}));
  EXPECT_EQ(limitedCodeLengths({0, 5, 0}, 15), (std::vector<std::uint8_t>{0, 1, 0}));
  EXPECT_EQ(limitedCodeLengths({0, 0}, 15), (std::vector<std::uint8_t>{0, 0}));
}

TEST(HuffmanLengths, SkewedCountsStayWithinFifteenBitsAndFillTheCodeSpace) {
  // Fibonacci counts would need codes of up to 39 bits without a limit.
  std::vector<std::uint32_t> counts(40);
  counts[0] = counts[1] = 1;
  for (int i = 2; i < 40; ++i) counts[i] = counts[i - 1] + counts[i - 2];
  std::vector<std::uint8_t> len = limitedCodeLengths(counts, 15);
  double kraft = 0;
  for (std::size_t i = 0; i < len.size(); ++i) {
    ASSERT_GE(len[i], 1);
    ASSERT_LE(len[i], 15);
    if (i > 0) {
      EXPECT_LE(len[i], len[i - 1]) << "a more frequent symbol got a longer code";
    }
    kraft += std::ldexp(1.0, -len[i]);
  }
  EXPECT_DOUBLE_EQ(kraft, 1.0);
}

TEST(HuffmanLengths, CanonicalCodesArePrefixFreeInSymbolOrder) {
  std::vector<std::uint8_t> len = {3, 3, 2, 0, 2, 2};
  std::vector<std::uint16_t> code = canonicalCodes(len);
  // Length 2: symbols 2, 4, 5 get 00, 01, 10; length 3: symbols 0, 1 get 110, 111.
  EXPECT_EQ(code, (std::vector<std::uint16_t>{6, 7, 0, 0, 1, 2}));
}

TEST(PackTimestamp, DosTimeOfWorkedDates) {
  EXPECT_EQ(dosTimeFromUnix(315532800), 0x00210000u);  // 1980-01-01 00:00:00
  EXPECT_EQ(dosTimeFromUnix(946684800), 0x28210000u);  // 2000-01-01 00:00:00
  // 2024-02-29 13:45:31: date (44 << 9 | 2 << 5 | 29), time (13 << 11 | 45 << 5 | 15).
  EXPECT_EQ(dosTimeFromUnix(1709214331), (0x585Du << 16) | 0x6DAFu);
  EXPECT_EQ(dosTimeFromUnix(0), 0x00210000u) << "times before 1980 clamp to its start";

  std::uint32_t t = 0;
  std::string error;
  EXPECT_TRUE(entryTimestamp(nullptr, t, error));
  EXPECT_EQ(t, 0x28210000u);
  EXPECT_TRUE(entryTimestamp("946684800", t, error));
  EXPECT_EQ(t, 0x28210000u);
  EXPECT_FALSE(entryTimestamp("12abc", t, error));
  EXPECT_FALSE(entryTimestamp("-5", t, error));
  EXPECT_FALSE(entryTimestamp("99999999999999999999999", t, error));
}

TEST(PackContainer, HeadersCarryEveryFieldOfARealArchive) {
  std::vector<PackEntry> entries = smallPackerCases();
  for (bool solid : {false, true}) {
    SCOPED_TRACE(solid ? "solid" : "not solid");
    PackOptions options;
    options.solid = solid;
    options.dosTime = 0x12345678;
    std::vector<std::uint8_t> a = pack(entries, options);
    ASSERT_GE(a.size(), 20u);
    EXPECT_EQ(std::string(a.begin(), a.begin() + 7), std::string("Rar!\x1A\x07\0", 7));
    EXPECT_EQ(a[9], 0x73);
    EXPECT_EQ(le16(a, 10), solid ? 0x0008u : 0u);
    EXPECT_EQ(le16(a, 12), 13u);
    EXPECT_EQ(le16(a, 7), plainCrc(a.data() + 9, 11) & 0xFFFF);

    std::size_t at = 20;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const PackEntry& e = entries[i];
      SCOPED_TRACE(e.name);
      ASSERT_LE(at + 32, a.size());
      std::uint32_t headSize = le16(a, at + 5), packSize = le32(a, at + 7);
      EXPECT_EQ(a[at + 2], 0x74);
      EXPECT_EQ(headSize, 32 + e.name.size());
      EXPECT_EQ(le16(a, at), plainCrc(a.data() + at + 2, headSize - 2) & 0xFFFF);
      std::uint32_t flags = le16(a, at + 3);
      EXPECT_EQ(flags, 0x8080u | (solid && i > 0 ? 0x0010u : 0u));
      EXPECT_EQ(le32(a, at + 11), e.data.size());
      EXPECT_EQ(a[at + 15], 2) << "host OS";
      EXPECT_EQ(le32(a, at + 16), plainCrc(e.data.data(), e.data.size()));
      EXPECT_EQ(le32(a, at + 20), 0x12345678u);
      EXPECT_EQ(a[at + 24], 20);
      EXPECT_EQ(le16(a, at + 26), e.name.size());
      EXPECT_EQ(le32(a, at + 28), 0x20u);
      EXPECT_EQ(std::string(a.begin() + at + 32, a.begin() + at + 32 + e.name.size()), e.name);
      std::uint8_t method = a[at + 25];
      if (method == 0x30) {
        EXPECT_EQ(packSize, e.data.size()) << "a stored entry holds its bytes as they are";
      } else {
        EXPECT_EQ(method, 0x35);
        if (!solid) {
          EXPECT_LT(packSize, e.data.size()) << "a packed entry must shrink";
        }
      }
      if (e.data.empty() && (!solid || i > 0)) {
        EXPECT_EQ(method, 0x30);
      }
      at += headSize + packSize;
    }
    EXPECT_EQ(at, a.size()) << "nothing after the last entry";
  }
}

TEST(PackContainer, IncompressibleEntriesAreStoredAndTheRestShrink) {
  std::vector<PackEntry> entries = {
      {"noise", noiseBytes(70000, 3), 0}, {"text", textBytes(70000), 0}, {"tiny", {'a', 'b'}, 0}};
  std::vector<std::uint8_t> a = pack(entries, {});
  ArchiveList list;
  ASSERT_EQ(listArchiveFromMemory(a.data(), a.size(), list), 3u);
  EXPECT_EQ(list[0].method, 0x30);
  EXPECT_EQ(list[1].method, 0x35);
  EXPECT_LT(list[1].packSize, 70000u * 2 / 5) << "text should pack to well under 40%";
  EXPECT_EQ(list[2].method, 0x30);
  expectRoundTrip(entries, a);
}

TEST(PackContainer, SameInputGivesTheSameBytes) {
  std::vector<PackEntry> entries = smallPackerCases();
  PackOptions options;
  options.solid = true;
  EXPECT_EQ(pack(entries, options), pack(entries, options));
}

TEST(PackContainer, BadEntriesAreRefusedWithAReason) {
  std::vector<std::uint8_t> out;
  std::string error;
  auto refuses = [&](std::vector<PackEntry> entries) {
    error.clear();
    return !writeArchive(entries, {}, out, error) && !error.empty();
  };
  EXPECT_TRUE(refuses({{"a\\b", {1}, 0}, {"A/B", {2}, 0}}));   // '/' is not a separator here
  EXPECT_TRUE(refuses({{"a\\b", {1}, 0}, {"A\\B", {2}, 0}}));  // the reader finds only the first
  EXPECT_TRUE(refuses({{"", {1}, 0}}));
  EXPECT_TRUE(refuses({{std::string(260, 'n'), {1}, 0}}));
  EXPECT_TRUE(refuses({{"..\\up", {1}, 0}}));
  EXPECT_TRUE(refuses({{"\\root", {1}, 0}}));
  EXPECT_TRUE(refuses({{"a\\\\b", {1}, 0}}));
  EXPECT_TRUE(refuses({{"tab\there", {1}, 0}}));
  EXPECT_TRUE(refuses({{"x", {1}, 5}}));
  EXPECT_FALSE(refuses({{std::string(259, 'n'), {1}, 0}}));
}

TEST(PackRoundTrip, EveryCaseThroughTheReader) {
  std::vector<PackEntry> entries = packerCases();
  PackOptions options;
  expectRoundTrip(entries, pack(entries, options));
}

TEST(PackRoundTrip, SolidArchiveThroughTheReader) {
  // Reading entry i unpacks all before it, so the big ones go last to keep the test quick.
  std::vector<PackEntry> entries = packerCases();
  std::stable_partition(entries.begin(), entries.end(),
                        [](const PackEntry& e) { return e.data.size() < 100000; });
  PackOptions options;
  options.solid = true;
  expectRoundTrip(entries, pack(entries, options));
}

TEST(PackRoundTrip, SolidArchiveGainsFromSharedHistory) {
  std::vector<PackEntry> entries = smallPackerCases();
  PackOptions options;
  options.solid = true;
  EXPECT_LT(pack(entries, options).size(), pack(entries, {}).size());
}

TEST(PackRoundTrip, ManySmallSolidEntries) {
  PackOptions options;
  options.solid = true;
  expectRoundTrip(manySmallPackerCases(), pack(manySmallPackerCases(), options));
}

TEST(PackRoundTrip, AlternativeMarkerAndStoreOnly) {
  std::vector<PackEntry> entries = smallPackerCases();
  for (bool solid : {false, true}) {
    PackOptions options;
    options.solid = solid;
    options.alternativeMarker = true;
    std::vector<std::uint8_t> a = pack(entries, options);
    EXPECT_EQ(std::string(a.begin(), a.begin() + 7), "Korvel!");
    expectRoundTrip(entries, a);

    options.alternativeMarker = false;
    options.storeOnly = true;
    a = pack(entries, options);
    ArchiveList list;
    listArchiveFromMemory(a.data(), a.size(), list);
    for (const ArchiveEntryInfo& e : list) EXPECT_EQ(e.method, 0x30) << e.name;
    expectRoundTrip(entries, a);
  }
}

TEST(PackRoundTrip, RepeatedTextPacksTight) {
  // Anything but a working long-distance matcher leaves this far above 1%.
  std::vector<PackEntry> entries = {{"t", textBytes(2000000), 0}};
  std::vector<std::uint8_t> a = pack(entries, {});
  EXPECT_LT(a.size(), 2000000u / 100);
  expectRoundTrip(entries, a);
}

class PackCommandLine : public ::testing::Test {
 protected:
  TempDir dir;
  std::string out() const { return (dir.path / "out.sdd").string(); }
  int run(std::vector<std::string> args, std::string* stderrText = nullptr) {
    args.insert(args.begin(), "sddpack");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    ::testing::internal::CaptureStderr();
    int rc = sddpackMain(int(argv.size()), argv.data());
    std::string err = ::testing::internal::GetCapturedStderr();
    if (stderrText) *stderrText = err;
    return rc;
  }
};

TEST_F(PackCommandLine, PacksAManifestWithRelativeSourcesAndAudioEntries) {
  dir.write("src/a.txt", "hello hello hello hello");
  std::vector<std::uint8_t> pcm = signalBytes(1000, 2, false, 1);
  dir.write("src/music.raw", std::string(pcm.begin(), pcm.end()));
  std::string manifest = dir.write("m.tsv", "text\\a.txt\tsrc/a.txt\r\n\nmusic.raw\t" +
                                                (dir.path / "src/music.raw").string() + "\n");
  std::string err;
  ASSERT_EQ(run({"-o", out(), "--solid", "--audio", "music.raw:2", manifest}, &err), 0) << err;
  std::unique_ptr<std::uint8_t[]> buffer;
  std::uint32_t size = 0;
  ASSERT_TRUE(readArchiveEntry("TEXT/A.TXT", out().c_str(), buffer, size));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer.get()), size), "hello hello hello hello");
  ASSERT_TRUE(readArchiveEntry("music.raw", out().c_str(), buffer, size));
  EXPECT_EQ(std::vector<std::uint8_t>(buffer.get(), buffer.get() + size), pcm);
  EXPECT_FALSE(std::filesystem::exists(out() + ".part"));
}

TEST_F(PackCommandLine, SourceDateEpochSetsTheEntryTime) {
  dir.write("a", "abc");
  std::string manifest = dir.write("m", "a\ta\n");
  setenv("SOURCE_DATE_EPOCH", "1709214331", 1);
  int rc = run({"-o", out(), manifest});
  unsetenv("SOURCE_DATE_EPOCH");
  ASSERT_EQ(rc, 0);
  ArchiveList list;
  ASSERT_EQ(listArchive(out().c_str(), list), 1u);
  EXPECT_EQ(list[0].fileTime, (0x585Du << 16) | 0x6DAFu);
}

TEST_F(PackCommandLine, ErrorsExitWithOneAMessageAndNoArchive) {
  dir.write("a", "abc");
  std::string good = dir.write("good", "a\ta\n");
  struct Case {
    std::vector<std::string> args;
    std::string manifest;  // written to "m" when not empty
  } cases[] = {
      {{"-o", out()}, ""},                  // no manifest
      {{good}, ""},                         // no output
      {{"-o", out(), "--fast", good}, ""},  // unknown option
      {{"-o", out(), "--marker", "zip", good}, ""},
      {{"-o", out(), "--audio", "a:5", good}, ""},
      {{"-o", out(), "--audio", "a:0", good}, ""},
      {{"-o", out(), "--audio", "a", good}, ""},
      {{"-o", out(), "--audio", "missing:2", good}, ""},
      {{"-o", out(), good, good}, ""},  // two manifests
      {{"-o", out(), "M"}, "a a\n"},    // no tab
      {{"-o", out(), "M"}, "a\ta\textra\n"},
      {{"-o", out(), "M"}, "a\tnot-there\n"},  // missing source
      {{"-o", out(), "M"}, "a\t.\n"},          // a folder, not a file
      {{"-o", out(), "M"}, "\n\n"},            // no entries
      {{"-o", out(), "M"}, "a\ta\nA\ta\n"},    // same name twice
      {{"-o", out(), "M"}, "dir/a\ta\n"},
      {{"-o", (dir.path / "no-such-dir" / "x.sdd").string(), good}, ""},
  };
  for (Case& c : cases) {
    std::string manifestPath;
    if (!c.manifest.empty()) manifestPath = dir.write("m", c.manifest);
    for (std::string& a : c.args)
      if (a == "M") a = manifestPath;
    std::string err;
    std::string joined;
    for (const std::string& a : c.args) joined += a + " ";
    EXPECT_EQ(run(c.args, &err), 1) << joined;
    EXPECT_NE(err.find("sddpack: "), std::string::npos) << joined;
    EXPECT_FALSE(std::filesystem::exists(out())) << joined;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path / "no-such-dir"));
}

TEST_F(PackCommandLine, AFailedRunLeavesAnEarlierArchiveAlone) {
  dir.write("a", "abc");
  ASSERT_EQ(run({"-o", out(), dir.write("m", "a\ta\n")}), 0);
  std::uintmax_t before = std::filesystem::file_size(out());
  EXPECT_EQ(run({"-o", out(), dir.write("m2", "a\tmissing\n")}), 1);
  EXPECT_EQ(std::filesystem::file_size(out()), before);
}

TEST_F(PackCommandLine, AnOversizedSourceIsRefusedBeforeItIsRead) {
  // A sparse file: it claims 257 MiB without taking the space.
  std::filesystem::path big = dir.path / "big";
  std::ofstream(big).close();
  std::filesystem::resize_file(big, 257u << 20);
  std::string err;
  EXPECT_EQ(run({"-o", out(), dir.write("m", "big\tbig\n")}, &err), 1);
  EXPECT_NE(err.find("256 MiB"), std::string::npos) << err;
  EXPECT_FALSE(std::filesystem::exists(out()));
}
