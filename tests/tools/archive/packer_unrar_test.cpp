// Archives from the packer extracted by an independent RAR extractor (the npm package
// node-unrar-js, compiled to WebAssembly, run as a black box): every entry must come back
// byte for byte. Skips when node or the package is missing; ./test.sh installs both.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/support/temp_dir.h"
#include "tests/tools/archive/packer_cases.h"
#include "tools/archive/archive_writer.h"

namespace {

namespace fs = std::filesystem;

class IndependentExtractor : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::string(PLASMORA_NODE).empty())
      GTEST_SKIP() << "node is not installed (./test.sh installs it)";
    if (!fs::exists(fs::path(PLASMORA_NODE_MODULES) / "node-unrar-js"))
      GTEST_SKIP() << "node-unrar-js is not installed in " << PLASMORA_NODE_MODULES
                   << " (./test.sh installs it)";
  }

  // Packs the entries, extracts them all with the independent extractor and compares.
  void check(const std::vector<PackEntry>& entries, const PackOptions& options) {
    std::vector<std::uint8_t> archive;
    std::string error;
    ASSERT_TRUE(writeArchive(entries, options, archive, error)) << error;
    fs::path file = dir_ / "a.sdd";
    fs::path out = dir_ / "out";
    fs::remove_all(out);
    fs::create_directory(out);
    temp_.write("a.sdd", archive);
    std::string command = std::string(PLASMORA_NODE) + " '" + PLASMORA_SOURCE_DIR +
                          "/tests/assets/unrar_check.js' '" + PLASMORA_NODE_MODULES + "' '" +
                          file.string() + "' '" + out.string() + "' > '" +
                          (dir_ / "list").string() + "' 2> '" + (dir_ / "err").string() + "'";
    int rc = std::system(command.c_str());
    std::string err = readFile(dir_ / "err");
    ASSERT_EQ(rc, 0) << "the extractor rejected the archive: " << err;

    std::ifstream listIn(dir_ / "list");
    std::vector<std::string> names;
    for (std::string line; std::getline(listIn, line);) {
      std::istringstream fields(line);
      std::string index, name;
      std::getline(fields, index, '\t');
      std::getline(fields, name, '\t');
      names.push_back(name);
    }
    ASSERT_EQ(names.size(), entries.size()) << err;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      std::string expected = entries[i].name;
      std::replace(expected.begin(), expected.end(), '\\', '/');
      EXPECT_EQ(names[i], expected);
      std::string got = readFile(out / std::to_string(i));
      EXPECT_TRUE(got == std::string(entries[i].data.begin(), entries[i].data.end()))
          << entries[i].name << ": " << got.size() << " bytes, expected " << entries[i].data.size();
    }
  }

  TempDir temp_;
  const fs::path& dir_ = temp_.path;
};

}  // namespace

TEST_F(IndependentExtractor, EveryCaseInSeparateEntries) { check(packerCases(), {}); }

TEST_F(IndependentExtractor, EveryCaseInOneSolidStream) {
  PackOptions options;
  options.solid = true;
  check(packerCases(), options);
}

TEST_F(IndependentExtractor, ManySmallSolidEntriesSwitchingModes) {
  PackOptions options;
  options.solid = true;
  check(manySmallPackerCases(), options);
}

TEST_F(IndependentExtractor, StoredArchives) {
  PackOptions options;
  options.storeOnly = true;
  check(smallPackerCases(), options);
  options.solid = true;
  check(smallPackerCases(), options);
}

TEST_F(IndependentExtractor, SolidArchiveStartingWithAnEmptyEntry) {
  std::vector<PackEntry> entries = {{"empty", {}, 0},
                                    {"text", textBytes(5000), 0},
                                    {"empty2", {}, 0},
                                    {"more", textBytes(7000), 0}};
  PackOptions options;
  options.solid = true;
  check(entries, options);
  entries[0].audioChannels = 2;  // an audio stream that starts with nothing in it
  check(entries, options);
}
