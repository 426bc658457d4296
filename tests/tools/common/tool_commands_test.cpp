#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/command_run.h"
#include "tests/support/temp_dir.h"
#include "tools/common/output_file.h"

namespace {

namespace fs = std::filesystem;

// The build runs the generators and stops on a non-zero status, so a failure must never
// look like success, and must leave nothing that a later build would take as done.
int run(const std::string& tool, const std::string& args) {
  const std::string path = tool == "gen_textures" ? GEN_TEXTURES_PATH : GEN_MUSIC_PATH;
  return runCommand(path + " " + args + " 2>/dev/null").status;
}

}  // namespace

TEST(ToolCommands, UsageErrorsAndUnwritableTargetsFailWithoutLeavingFiles) {
  TempDir temp;
  const fs::path& dir = temp.path;
  EXPECT_EQ(run("gen_textures", ""), 2);
  EXPECT_EQ(run("gen_music", ""), 2);
  EXPECT_EQ(run("gen_music", "a b"), 2);

  EXPECT_EQ(run("gen_music", (dir / "missing" / "music.ogg").string()), 1);
  EXPECT_FALSE(fs::exists(dir / "missing"));

  std::ofstream(dir / "blocker") << "x";
  EXPECT_EQ(run("gen_textures", (dir / "blocker").string()), 1);
  EXPECT_EQ(readFile(dir / "blocker"), "x");
}

TEST(OutputFile, ReplacesWholeOrLeavesTheOldFile) {
  TempDir temp;
  const fs::path& dir = temp.path;
  std::string error;
  ASSERT_TRUE(writeFileBytes((dir / "a.bin").string(), {1, 2, 3}, error)) << error;
  ASSERT_TRUE(writeFileBytes((dir / "a.bin").string(), {9}, error)) << error;
  EXPECT_EQ(readFile(dir / "a.bin"), std::string(1, '\x09'));
  EXPECT_FALSE(fs::exists(dir / "a.bin.part"));

  EXPECT_FALSE(writeFileBytes((dir / "no" / "b.bin").string(), {1}, error));
  EXPECT_NE(error.find("b.bin"), std::string::npos) << error;

  // A folder standing where the file should go: the write fails and the folder stays.
  fs::create_directories(dir / "c.bin");
  error.clear();
  EXPECT_FALSE(writeFileBytes((dir / "c.bin").string(), {1}, error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::is_directory(dir / "c.bin"));
  EXPECT_FALSE(fs::exists(dir / "c.bin.part"));
}
