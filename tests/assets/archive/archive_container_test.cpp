// The container walk over archives built in memory: name matching, the header checks and the
// damaged or hostile headers the walk must survive.

#include "assets/archive/archive_reader.h"
#include "tests/assets/archive/test_archive.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

struct ReadResult {
  bool ok = false;
  ArchiveStatus status = ArchiveStatus::Ok;
  std::string contents;
  bool nullBuffer = true;
};

ReadResult readFrom(const std::vector<std::uint8_t>& archive, const char* name) {
  std::unique_ptr<std::uint8_t[]> data;
  std::uint32_t size = 999;
  ReadResult r;
  r.ok = readArchiveEntryFromMemory(name, archive.data(), archive.size(), data, size, &r.status);
  r.nullBuffer = data == nullptr;
  if (r.ok)
    r.contents.assign(reinterpret_cast<const char*>(data.get()), size);
  else
    EXPECT_EQ(size, 0u);
  EXPECT_EQ(r.ok, !r.nullBuffer);
  return r;
}

TEST(ArchiveContainer, NamesMatchIgnoringCaseAndSeparators) {
  TestArchive a;
  a.stored("meshes\\mito.dat", bytesOf("mito")).stored("Scenes\\Cells\\scene1.txt", bytesOf("s1"));
  EXPECT_EQ(readFrom(a.bytes(), "meshes\\mito.dat").contents, "mito");
  EXPECT_EQ(readFrom(a.bytes(), "MESHES/MITO.DAT").contents, "mito");
  EXPECT_EQ(readFrom(a.bytes(), "meshes_mito.dat").contents, "mito");
  EXPECT_EQ(readFrom(a.bytes(), "scenes/cells/SCENE1.TXT").contents, "s1");
  ReadResult missing = readFrom(a.bytes(), "meshes/mito.da");
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.status, ArchiveStatus::NotFound);
  EXPECT_TRUE(archiveNamesMatch("A/B", "a\\b"));
  EXPECT_FALSE(archiveNamesMatch("A/B", "a\\bc"));
}

TEST(ArchiveContainer, FirstOfTwoEqualNamesWins) {
  TestArchive a;
  a.stored("dup.txt", bytesOf("first")).stored("DUP.TXT", bytesOf("second"));
  EXPECT_EQ(readFrom(a.bytes(), "dup.txt").contents, "first");
  std::unique_ptr<std::uint8_t[]> data;
  std::uint32_t size = 0;
  ASSERT_TRUE(readArchiveEntryAtFromMemory(1, a.bytes().data(), a.bytes().size(), data, size));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data.get()), size), "second");
}

TEST(ArchiveContainer, AlternativeMarkerAndLongMainHeader) {
  TestArchive a(false, 20);  // seven extra main-header bytes are skipped
  a.stored("x", bytesOf("xx"));
  std::vector<std::uint8_t> bytes = a.bytes();
  EXPECT_EQ(readFrom(bytes, "x").contents, "xx");
  const char* alt = "Korvel!";
  std::copy(alt, alt + 7, bytes.begin());
  EXPECT_EQ(readFrom(bytes, "x").contents, "xx");
  bytes[0] = 'k';
  EXPECT_EQ(readFrom(bytes, "x").status, ArchiveStatus::NotAnArchive);
}

TEST(ArchiveContainer, ZeroSizeEntry) {
  TestArchive a;
  TestEntry e;
  e.name = "empty";
  e.fileCrc = 0;
  a.entry(e);
  ReadResult r = readFrom(a.bytes(), "empty");
  EXPECT_TRUE(r.ok);
  EXPECT_FALSE(r.nullBuffer);
  EXPECT_EQ(r.contents, "");
}

TEST(ArchiveContainer, VersionOutsideRangeFailsEvenWhenStored) {
  for (int version : {12, 21, 29}) {
    TestEntry e;
    e.name = "v";
    e.packed = bytesOf("data");
    e.unpSize = 4;
    e.fileCrc = entryCrc(e.packed);
    e.unpVer = static_cast<std::uint8_t>(version);
    TestArchive a;
    a.entry(e);
    EXPECT_EQ(readFrom(a.bytes(), "v").status, ArchiveStatus::UnsupportedVersion) << version;
  }
  for (int version : {13, 20}) {
    TestEntry e;
    e.name = "v";
    e.packed = bytesOf("data");
    e.unpSize = 4;
    e.fileCrc = entryCrc(e.packed);
    e.unpVer = static_cast<std::uint8_t>(version);
    TestArchive a;
    a.entry(e);
    EXPECT_TRUE(readFrom(a.bytes(), "v").ok) << version;
  }
}

TEST(ArchiveContainer, ChecksumAndSizeMismatches) {
  TestEntry bad;
  bad.name = "bad";
  bad.packed = bytesOf("payload");
  bad.unpSize = 7;
  bad.fileCrc = entryCrc(bad.packed) ^ 1;
  TestEntry shortStored;
  shortStored.name = "short";
  shortStored.packed = std::vector<std::uint8_t>(4, 0);
  shortStored.unpSize = 8;  // PACK_SIZE < UNP_SIZE; zeros would even match the CRC
  shortStored.fileCrc = entryCrc(std::vector<std::uint8_t>(8, 0));
  TestArchive a;
  a.entry(bad).entry(shortStored);
  EXPECT_EQ(readFrom(a.bytes(), "bad").status, ArchiveStatus::CrcMismatch);
  EXPECT_FALSE(readFrom(a.bytes(), "short").ok);
}

TEST(ArchiveContainer, EncryptedEntryCannotBeRead) {
  // Nothing is decrypted: the stored bytes are not the plain text the CRC describes.
  TestEntry e;
  e.name = "secret";
  e.packed = bytesOf("ciphertext");
  e.unpSize = 10;
  e.fileCrc = entryCrc(bytesOf("plaintext!"));
  e.flags |= 0x0004;
  TestArchive a;
  a.entry(e);
  EXPECT_EQ(readFrom(a.bytes(), "secret").status, ArchiveStatus::CrcMismatch);
}

TEST(ArchiveContainer, LongNamesAreCutTo259Bytes) {
  std::string longName(300, 'n');
  longName.replace(270, 4, "tail");
  TestArchive a;
  a.stored(longName, bytesOf("long"));
  ArchiveList list;
  ASSERT_EQ(listArchiveFromMemory(a.bytes().data(), a.bytes().size(), list), 1u);
  EXPECT_EQ(list[0].nameSize, 259);
  EXPECT_EQ(list[0].name, longName.substr(0, 259));
  // The data still comes from behind the whole name.
  EXPECT_EQ(readFrom(a.bytes(), longName.substr(0, 259).c_str()).contents, "long");
  EXPECT_EQ(readFrom(a.bytes(), longName.c_str()).status, ArchiveStatus::BadName);
}

TEST(ArchiveContainer, OtherBlocksAreSteppedOverAndSubBlockEndsTheWalk) {
  TestArchive a;
  a.stored("a", bytesOf("A"))
      .block(0x7A, 0x8000, 11, 3, {1, 2, 3})  // a comment-like block with 3 data bytes
      .stored("b", bytesOf("B"))
      .block(0x77, 0, 7)
      .stored("c", bytesOf("C"));
  EXPECT_EQ(readFrom(a.bytes(), "b").contents, "B");
  EXPECT_EQ(readFrom(a.bytes(), "c").status, ArchiveStatus::NotFound);
  ArchiveList list;
  ArchiveStatus status = ArchiveStatus::CannotOpen;
  EXPECT_EQ(listArchiveFromMemory(a.bytes().data(), a.bytes().size(), list, &status), 2u);
  EXPECT_EQ(status, ArchiveStatus::Ok);
}

TEST(ArchiveContainer, ShortClosingBlockIsAnOrdinaryEnd) {
  TestArchive a;
  a.stored("a", bytesOf("A")).raw({0xC4, 0x3D, 0x7B, 0x00, 0x40, 0x07, 0x00});
  ArchiveList list;
  ArchiveStatus status = ArchiveStatus::CannotOpen;
  EXPECT_EQ(listArchiveFromMemory(a.bytes().data(), a.bytes().size(), list, &status), 1u);
  EXPECT_EQ(status, ArchiveStatus::Ok);
}

TEST(ArchiveContainer, TruncationAtEveryLengthFailsCleanly) {
  TestArchive a;
  a.stored("first.txt", bytesOf("0123456789")).stored("second.txt", bytesOf("abcdefghij"));
  const std::vector<std::uint8_t>& full = a.bytes();
  for (std::size_t length = 0; length < full.size(); ++length) {
    std::vector<std::uint8_t> cut(full.begin(), full.begin() + length);
    ReadResult r = readFrom(cut, "second.txt");
    EXPECT_FALSE(r.ok) << length;
    ArchiveList list;
    ArchiveStatus status = ArchiveStatus::Ok;
    listArchiveFromMemory(cut.data(), cut.size(), list, &status);
    if (length < 20) {
      EXPECT_EQ(status, ArchiveStatus::Truncated) << length;
    }
  }
  EXPECT_EQ(readFrom(full, "second.txt").contents, "abcdefghij");
}

// Header fields that lie about sizes: each is refused with its own status, without reading
// outside the archive or allocating what the header claims.
TEST(ArchiveContainer, LyingHeaderFields) {
  using S = ArchiveStatus;
  struct Case {
    const char* what;
    void (*edit)(TestEntry&);
    ArchiveStatus status;
  } cases[] = {
      {"block header below its 7 bytes", [](TestEntry& e) { e.headSize = 6; }, S::DamagedHeader},
      {"name running past its header, into the data",
       [](TestEntry& e) {
         e.name = "abcdef", e.packed = bytesOf("d"), e.unpSize = 1, e.headSize = 34;
       },
       S::DamagedHeader},
      {"name size beyond the archive", [](TestEntry& e) { e.nameSize = 200; }, S::Truncated},
      {"packed data beyond the archive",
       [](TestEntry& e) { e.packed = bytesOf("abc"), e.unpSize = 3, e.packSize = 1000; },
       S::DataOutsideArchive},
      {"packed size of 4 GiB",
       [](TestEntry& e) {
         e.packed = bytesOf("abc"), e.unpSize = 3, e.packSize = 0xFFFFFFFFll, e.method = 0x33;
       },
       S::DataOutsideArchive},
      {"unpacked size far beyond the cap",
       [](TestEntry& e) { e.packed.assign(16, 0), e.method = 0x33, e.unpSize = 0xFFFFFFFFu; },
       S::TooLarge},
      {"more than 16 packed bytes can give",
       [](TestEntry& e) { e.packed.assign(16, 0), e.method = 0x33, e.unpSize = 16 * 2080 + 1; },
       S::TooLarge},
  };
  for (const Case& c : cases) {
    TestEntry e;
    e.name = "x";
    c.edit(e);
    e.fileCrc = entryCrc(e.packed);
    TestArchive a;
    a.entry(e);
    EXPECT_EQ(readFrom(a.bytes(), e.name.c_str()).status, c.status) << c.what;
    if (c.status == S::Truncated) {
      ArchiveList list;
      ArchiveStatus status = S::Ok;
      EXPECT_EQ(listArchiveFromMemory(a.bytes().data(), a.bytes().size(), list, &status), 0u);
      EXPECT_EQ(status, S::Truncated) << c.what;
    }
  }
  TestArchive shortMain(false, 12);  // a main header claiming less than its own 13 bytes
  shortMain.stored("x", bytesOf("x"));
  EXPECT_EQ(readFrom(shortMain.bytes(), "x").status, S::DamagedHeader);
}

TEST(ArchiveContainer, FileVariantReadsFromDisk) {
  TestArchive a;
  a.stored("dir\\file.txt", bytesOf("on disk"));
  TempDir dir;
  std::filesystem::path path = dir.write("file.sdd", a.bytes());
  std::unique_ptr<std::uint8_t[]> data;
  std::uint32_t size = 0;
  ASSERT_TRUE(readArchiveEntry("DIR/FILE.TXT", path.c_str(), data, size));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data.get()), size), "on disk");
  ArchiveList list;
  EXPECT_EQ(listArchive(path.c_str(), list), 1u);
  std::filesystem::remove(path);
  ArchiveStatus status = ArchiveStatus::Ok;
  EXPECT_FALSE(readArchiveEntry("DIR/FILE.TXT", path.c_str(), data, size, &status));
  EXPECT_EQ(status, ArchiveStatus::CannotOpen);
  EXPECT_EQ(listArchive(path.c_str(), list, &status), 0u);
  EXPECT_EQ(status, ArchiveStatus::CannotOpen);
}

}  // namespace
