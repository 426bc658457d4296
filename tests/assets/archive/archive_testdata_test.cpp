// Every archive of the shared RAR test data: entries listed, extracted with the right SHA-256,
// refused or survived as the manifest says.

#include "assets/archive/archive_reader.h"
#include "tests/assets/archive/sha256.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string rarDir = std::string(PLASMORA_SHARED_DIR) + "/testdata/rar";

struct ManifestRow {
  std::string archive, entry, unpVer, method, solid, size, sha256, expect;
};

std::vector<ManifestRow> readManifest() {
  std::vector<ManifestRow> rows;
  std::ifstream in(rarDir + "/manifest.tsv");
  std::string line;
  std::getline(in, line);  // column names
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    ManifestRow r;
    std::getline(fields, r.archive, '\t');
    std::getline(fields, r.entry, '\t');
    std::getline(fields, r.unpVer, '\t');
    std::getline(fields, r.method, '\t');
    std::getline(fields, r.solid, '\t');
    std::getline(fields, r.size, '\t');
    std::getline(fields, r.sha256, '\t');
    std::getline(fields, r.expect, '\t');
    if (!r.archive.empty()) rows.push_back(r);
  }
  return rows;
}

#define SKIP_WITHOUT_TESTDATA()                           \
  if (!std::filesystem::exists(rarDir + "/manifest.tsv")) \
  GTEST_SKIP() << "shared RAR test data not found at " << rarDir

TEST(ArchiveTestData, ExtractsAndRefusesAsTheManifestSays) {
  SKIP_WITHOUT_TESTDATA();
  int extracted = 0;
  int refused = 0;
  for (const ManifestRow& row : readManifest()) {
    if (row.expect == "survive") continue;
    SCOPED_TRACE(row.archive + " : " + row.entry);
    std::string path = rarDir + "/" + row.archive;
    std::unique_ptr<std::uint8_t[]> data;
    std::uint32_t size = 12345;
    ArchiveStatus status = ArchiveStatus::Ok;
    bool ok = readArchiveEntry(row.entry.c_str(), path.c_str(), data, size, &status);
    if (row.expect == "extract") {
      ASSERT_TRUE(ok) << archiveStatusText(status);
      EXPECT_EQ(std::to_string(size), row.size);
      EXPECT_EQ(sha256Hex(data.get(), size), row.sha256);
      ++extracted;
    } else {
      EXPECT_FALSE(ok);
      EXPECT_EQ(data, nullptr);
      EXPECT_EQ(size, 0u);
      ++refused;
    }
  }
  EXPECT_EQ(extracted, 26);
  EXPECT_EQ(refused, 4);
}

TEST(ArchiveTestData, RefusalsGiveTheirReason) {
  SKIP_WITHOUT_TESTDATA();
  std::unique_ptr<std::uint8_t[]> data;
  std::uint32_t size = 0;
  ArchiveStatus status = ArchiveStatus::Ok;
  EXPECT_FALSE(readArchiveEntry("exe/test.exe", (rarDir + "/sharpcompress__Rar.rar").c_str(), data,
                                size, &status));
  EXPECT_EQ(status, ArchiveStatus::UnsupportedVersion);
  EXPECT_FALSE(readArchiveEntry("no/such/entry", (rarDir + "/zxtune__test_v2.rar").c_str(), data,
                                size, &status));
  EXPECT_EQ(status, ArchiveStatus::NotFound);
}

TEST(ArchiveTestData, ListingMatchesTheManifest) {
  SKIP_WITHOUT_TESTDATA();
  ArchiveList entries;
  ArchiveStatus status = ArchiveStatus::CannotOpen;
  ASSERT_EQ(listArchive((rarDir + "/zxtune__test_v2.rar").c_str(), entries, &status), 7u);
  EXPECT_EQ(status, ArchiveStatus::Ok);
  EXPECT_EQ(entries[0].name, "p0.bin");
  EXPECT_EQ(entries[0].method, 0x30);
  EXPECT_EQ(entries[6].name, "pMM.bin");
  EXPECT_EQ(entries[6].unpSize, 16384u);
  EXPECT_EQ(entries[6].unpVer, 20);
  for (const ArchiveEntryInfo& e : entries) EXPECT_EQ(e.nameSize, e.name.size());

  ASSERT_EQ(listArchive((rarDir + "/zxtune__test_v2solid5.rar").c_str(), entries), 2u);
  EXPECT_EQ(entries[1].flags & 0x0010, 0x0010);  // the second entry continues the first
}

TEST(ArchiveTestData, SolidEntryNeedsItsPredecessor) {
  SKIP_WITHOUT_TESTDATA();
  // Dropping the first entry from the solid archive leaves the second without its history.
  std::ifstream in(rarDir + "/zxtune__test_v2solid5.rar", std::ios::binary);
  std::vector<std::uint8_t> archive((std::istreambuf_iterator<char>(in)), {});
  ArchiveList entries;
  ASSERT_EQ(listArchiveFromMemory(archive.data(), archive.size(), entries), 2u);
  std::size_t firstBlock = 7 + 13;
  std::size_t secondBlock = firstBlock + 32 + entries[0].nameSize + entries[0].packSize;
  std::unique_ptr<std::uint8_t[]> data;
  std::uint32_t size = 0;
  ASSERT_TRUE(
      readArchiveEntryFromMemory("p5_solid.bin", archive.data(), archive.size(), data, size));

  std::vector<std::uint8_t> cut(archive.begin(), archive.begin() + firstBlock);
  cut.insert(cut.end(), archive.begin() + secondBlock, archive.end());
  ArchiveStatus status = ArchiveStatus::Ok;
  EXPECT_FALSE(
      readArchiveEntryFromMemory("p5_solid.bin", cut.data(), cut.size(), data, size, &status));
  EXPECT_TRUE(status == ArchiveStatus::CrcMismatch || status == ArchiveStatus::DataError)
      << archiveStatusText(status);
}

TEST(ArchiveTestData, HostileArchivesFailQuicklyAndCleanly) {
  SKIP_WITHOUT_TESTDATA();
  for (const ManifestRow& row : readManifest()) {
    if (row.expect != "survive") continue;
    SCOPED_TRACE(row.archive);
    std::string path = rarDir + "/" + row.archive;
    ArchiveList entries;
    std::uint32_t count = listArchive(path.c_str(), entries);
    for (std::uint32_t i = 0; i < count + 1; ++i) {
      std::unique_ptr<std::uint8_t[]> data;
      std::uint32_t size = 0;
      if (!readArchiveEntryAt(i, path.c_str(), data, size)) {
        EXPECT_EQ(data, nullptr);
        EXPECT_EQ(size, 0u);
      }
    }
  }
}

}  // namespace
