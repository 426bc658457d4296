// The settings file: its text form, and saving it so that nothing stored is ever lost.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/settings_store.h"
#include "platform/x11/settings_file.h"
#include "platform/x11/settings_store_file.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// "name=number" or "name=\"text\"" for each value, to compare parses at a glance.
std::string describe(const std::vector<StoredValue>& values) {
  std::string out;
  for (const StoredValue& v : values) {
    out += v.name + "=";
    out += v.kind == StoredValue::Number ? std::to_string(v.number) : "\"" + v.text + "\"";
    out += ";";
  }
  return out;
}

StoredValue number(const char* name, std::uint32_t value) {
  StoredValue v;
  v.name = name;
  v.number = value;
  return v;
}

TEST(SettingsFileText, ReadsNumbersAndTextsAndSkipsWhatItCannotRead) {
  struct Case {
    const char* text;
    const char* values;
  };
  const Case cases[] = {
      {"", ""},
      {"# comment\n\n   \nA=1\n", "A=1;"},
      {"A=0\nB=4294967295\nC=-1\nD=-2147483648\n", "A=0;B=4294967295;C=4294967295;D=2147483648;"},
      {"A=4294967296\nB=-2147483649\nC=12345678901\nD=1x\nE=\nF=+1\nG=0x10\n", ""},
      {"  Spaced_Name  =  42  \r\n", "Spaced_Name=42;"},
      {"Path=\"/a b/c\"\n", "Path=\"/a b/c\";"},
      {"Path=\"quote \\\" and \\\\ backslash\"\n", "Path=\"quote \" and \\ backslash\";"},
      {"Path=\"\"\n", "Path=\"\";"},
      {"Path=\"no end\nPath=\"bad \\n escape\"\nPath=\"x\" tail\nPath=\"ends in \\\"\n", ""},
      {"=1\nna me=1\nna\"me=1\nnoequals\n", ""},
      {"A=1\nB=2\na=3\n", "a=3;B=2;"},  // a name given again keeps the later value
      {"A=1", "A=1;"},                  // no line break at the end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(describe(parseSettingsFile(c.text)), c.values);
  }
}

TEST(SettingsFileText, AFileThatIsNotTextHoldsNoValues) {
  EXPECT_TRUE(parseSettingsFile(std::string("A=1\nB=2\0\n", 9)).empty());
  std::string huge = "A=1\n" + std::string(70000, '#');
  EXPECT_TRUE(parseSettingsFile(huge).empty());
}

TEST(SettingsFileText, WritesWhatItReadsBack) {
  std::vector<StoredValue> values = {number("ShowClock", 1), number("Gamma", 4294967291u)};
  StoredValue path;
  path.name = "Path";
  path.kind = StoredValue::Text;
  path.text = "/odd \"folder\" \\ with ünïcode";
  values.push_back(path);
  std::string text;
  ASSERT_TRUE(formatSettingsFile(values, text));
  EXPECT_EQ(describe(parseSettingsFile(text)), describe(values));

  path.text = "two\nlines";
  EXPECT_FALSE(formatSettingsFile({path}, text));
  EXPECT_FALSE(formatSettingsFile({number("bad name", 1)}, text));
}

TEST(SettingsFileText, MergeReplacesByNameWithoutRegardToCaseAndKeepsTheRest) {
  std::vector<StoredValue> stored = parseSettingsFile("Path=\"/p\"\nShowClock=1\nOther=5\n");
  std::vector<StoredValue> merged =
      mergeStoredValues(stored, {number("showclock", 0), number("Detail", 2)});
  EXPECT_EQ(describe(merged), "Path=\"/p\";showclock=0;Other=5;Detail=2;");
}

TEST(SettingsFileText, ASaveRewritesOnlyTheLinesOfTheValuesItStores) {
  struct Case {
    const char* old;
    const char* expected;
  };
  // Detail=2 and Path="/new" are stored into each file.
  const Case cases[] = {
      {"", "Detail=2\nPath=\"/new\"\n"},
      {"# comment\n\n  \t\nFuture=3\n", "# comment\n\n  \t\nFuture=3\nDetail=2\nPath=\"/new\"\n"},
      {"Path=/usr/share/plasmora\nPath=\"/opt/a\\b\"\nDetail=abc\n",
       "Path=/usr/share/plasmora\nPath=\"/opt/a\\b\"\nDetail=abc\nDetail=2\nPath=\"/new\"\n"},
      {"  detail = 0 \r\n# x\r\nPATH=\"/old\"", "Detail=2\r\n# x\r\nPath=\"/new\""},
      {"Detail=0\nOther=1\nDetail=1\n", "Detail=2\nOther=1\nDetail=2\nPath=\"/new\"\n"},
      {"no break at the end", "no break at the end\nDetail=2\nPath=\"/new\"\n"},
      {"\xff\xfe odd bytes\nDetail=1\n", "\xff\xfe odd bytes\nDetail=2\nPath=\"/new\"\n"},
  };
  StoredValue path;
  path.name = "Path";
  path.kind = StoredValue::Text;
  path.text = "/new";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.old);
    std::string text;
    ASSERT_TRUE(rewriteSettingsFile(c.old, {number("Detail", 2), path}, text));
    EXPECT_EQ(text, c.expected);
  }
  std::string text;
  EXPECT_FALSE(rewriteSettingsFile(std::string(65530, '#'), {number("Detail", 2)}, text));
}

class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder.empty());
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  }
  void TearDown() override { beforeSettingsRename = nullptr; }

  fs::path file() const { return folder / "quillmoor" / "plasmora.conf"; }
  std::string fileText() const { return readFile(file()); }
  void writeFile(const std::string& text) { dir.write("quillmoor/plasmora.conf", text); }

  TempDir dir;
  const fs::path& folder = dir.path;
};

TEST_F(SettingsStore, LivesUnderTheConfigFolder) {
  EXPECT_EQ(settingsFilePath(), file().string());
  setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(settingsFilePath(), "/home/someone/.config/quillmoor/plasmora.conf");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(settingsFilePath(), "/home/someone/.config/quillmoor/plasmora.conf");
}

TEST_F(SettingsStore, NoFileMeansNoValuesAndTheFirstSaveMakesTheFolders) {
  EXPECT_TRUE(readStoredValues().empty());
  ASSERT_TRUE(writeStoredValues({number("Detail", 1)}));
  EXPECT_EQ(describe(readStoredValues()), "Detail=1;");
  EXPECT_EQ(fs::status(file()).permissions() & fs::perms::others_read, fs::perms::none);
}

TEST_F(SettingsStore, SavingKeepsEveryLineItDoesNotWrite) {
  writeFile("# by the installer\nPath=/opt/p\nFuture=3\nDetail=0\n");
  ASSERT_TRUE(writeStoredValues({number("Detail", 2), number("Volume", 40)}));
  EXPECT_EQ(fileText(), "# by the installer\nPath=/opt/p\nFuture=3\nDetail=2\nVolume=40\n");
}

TEST_F(SettingsStore, ASaveCutShortBeforeTheRenameLeavesTheOldFileWhole) {
  writeFile("Path=\"/opt/p\"\nDetail=0\n");
  std::string before = fileText();
  pid_t child = fork();
  if (child == 0) {
    // The process dies with the new file written and flushed but not yet in place.
    beforeSettingsRename = [](const char*) { _exit(3); };
    writeStoredValues({number("Detail", 2)});
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 3);
  EXPECT_EQ(fileText(), before);
  EXPECT_EQ(describe(readStoredValues()), "Path=\"/opt/p\";Detail=0;");

  // The leftover does not stand in the way of the next save.
  ASSERT_TRUE(writeStoredValues({number("Detail", 2)}));
  EXPECT_EQ(describe(readStoredValues()), "Path=\"/opt/p\";Detail=2;");
}

TEST_F(SettingsStore, AFileThatCannotBeReadWholeIsNeverReplaced) {
  struct Case {
    const char* name;
    void (*make)(const fs::path& file);
  };
  const Case cases[] = {
      {"not text", [](const fs::path& f) { std::ofstream(f) << std::string("A=0\n\0", 5); }},
      {"too large", [](const fs::path& f) { std::ofstream(f) << std::string(70000, '#'); }},
      // A folder cannot be read even by root, unlike a file of mode 000.
      {"folder", [](const fs::path& f) { fs::create_directories(f / "inner"); }},
      // Opening a FIFO for reading would wait for a writer for ever.
      {"fifo", [](const fs::path& f) { mkfifo(f.c_str(), 0600); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(file().parent_path());
    fs::create_directories(file().parent_path());
    c.make(file());
    fs::file_status before = fs::status(file());
    std::string bytes = fs::is_regular_file(before) ? fileText() : "";
    alarm(20);  // a read that blocks fails the test instead of hanging it
    EXPECT_TRUE(readStoredValues().empty());
    std::string problem;
    EXPECT_FALSE(writeStoredValues({number("Detail", 2)}, &problem));
    alarm(0);
    EXPECT_NE(problem.find(file().string()), std::string::npos) << problem;
    EXPECT_EQ(fs::status(file()).type(), before.type());
    EXPECT_EQ(fs::is_regular_file(before) ? fileText() : "", bytes);
    for (const auto& entry : fs::directory_iterator(file().parent_path()))
      EXPECT_EQ(entry.path(), file()) << "leftover " << entry.path();
  }
}

TEST_F(SettingsStore, ATextThatCannotBeStoredFailsTheSaveAndKeepsTheFile) {
  writeFile("Detail=0\n");
  StoredValue bad;
  bad.name = "Note";
  bad.kind = StoredValue::Text;
  bad.text = "line\nbreak";
  EXPECT_FALSE(writeStoredValues({number("Detail", 2), bad}));
  EXPECT_EQ(fileText(), "Detail=0\n");
}

}  // namespace
