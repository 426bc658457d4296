// sddtool run as a program over the shared test data and a small archive of our own.

#include "tests/assets/archive/sha256.h"
#include "tests/assets/archive/test_archive.h"
#include "tests/support/command_run.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

const std::string rarDir = std::string(PLASMORA_SHARED_DIR) + "/testdata/rar";

CommandRun sddtool(const std::string& arguments) {
  return runCommand(std::string(SDDTOOL_PATH) + " " + arguments + " 2>&1");
}

class SddTool : public testing::Test {
 protected:
  std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    return temp_.write(name, bytes);
  }

  TempDir temp_;
  const std::filesystem::path& dir_ = temp_.path;
};

TEST_F(SddTool, ListExtractAndTestOwnArchive) {
  TestArchive a;
  a.stored("meshes\\mito.dat", bytesOf("mitochondrion")).stored("music.ogg", bytesOf("OggS"));
  std::string archive = write("data.sdd", a.bytes());

  CommandRun list = sddtool("list " + archive);
  EXPECT_EQ(list.status, 0) << list.output;
  EXPECT_NE(list.output.find("meshes\\mito.dat"), std::string::npos);
  EXPECT_NE(list.output.find("2 entries"), std::string::npos);

  std::string out = (dir_ / "mito.out").string();
  CommandRun extract = sddtool("extract " + archive + " MESHES/MITO.DAT -o " + out);
  EXPECT_EQ(extract.status, 0) << extract.output;
  EXPECT_EQ(readFile(out), "mitochondrion");
  CommandRun several =
      sddtool("extract " + archive + " music.ogg MESHES/MITO.DAT music.ogg -o " + out);
  EXPECT_EQ(several.status, 0) << several.output;
  EXPECT_EQ(readFile(out), "OggSmitochondrionOggS");  // in the order named

  CommandRun test = sddtool("test " + archive);
  EXPECT_EQ(test.status, 0) << test.output;

  EXPECT_EQ(sddtool("extract " + archive + " nothing.here").status, 1);
  EXPECT_EQ(sddtool("list " + (dir_ / "missing.sdd").string()).status, 1);
  EXPECT_EQ(sddtool("frobnicate " + archive).status, 2);
}

TEST_F(SddTool, TestReportsEachFailingEntry) {
  TestEntry bad;
  bad.name = "broken.bin";
  bad.packed = bytesOf("xyz");
  bad.unpSize = 3;
  bad.fileCrc = 1;
  TestArchive a;
  a.stored("fine.txt", bytesOf("fine")).entry(bad);
  CommandRun test = sddtool("test " + write("bad.sdd", a.bytes()));
  EXPECT_EQ(test.status, 1);
  EXPECT_NE(test.output.find("fine.txt"), std::string::npos);
  EXPECT_NE(test.output.find("CRC mismatch"), std::string::npos);
}

TEST_F(SddTool, SharedArchivesTestAndExtractExactly) {
  if (!std::filesystem::exists(rarDir + "/manifest.tsv"))
    GTEST_SKIP() << "shared RAR test data not found at " << rarDir;
  for (const char* name :
       {"zxtune__test_v2.rar", "zxtune__test_v2solid5.rar", "zxtune__mm.rar",
        "sharpcompress__Rar2.rar", "junrar__BoatModernEnglish-audio-text-unpack20.rar",
        "libarchive__test_read_format_rar.rar"}) {
    CommandRun test = sddtool("test " + rarDir + "/" + name);
    EXPECT_EQ(test.status, 0) << name << "\n" << test.output;
  }
  CommandRun refused = sddtool("test " + rarDir + "/sharpcompress__Rar.rar");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.output.find("unsupported version"), std::string::npos);

  std::string out = (dir_ / "test.jpg").string();
  ASSERT_EQ(sddtool("extract " + rarDir + "/sharpcompress__Rar2.rar jpg/test.jpg -o " + out).status,
            0);
  std::string bytes = readFile(out);
  EXPECT_EQ(sha256Hex(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
            "b251c7501fb0f55dd4a92feabe0a6f5733bc40a02679498155fae9b30138fc53");
}

}  // namespace
