// The screensaver switches as the process receives them.
#include <gtest/gtest.h>

#include "host/saver_app.h"
#include "platform/command_line.h"

namespace {

struct Case {
  const char* text;
  RunMode mode;
  std::uint32_t parentWindow;
};

TEST(ParseCommandLine, ReadsTheFirstSwitchAfterTheProgramName) {
  const RunMode C = RunMode::Configure, P = RunMode::Preview, S = RunMode::Saver, T = RunMode::Test;
  const Case cases[] = {
      {"", C, 0},
      {"plasmora", C, 0},
      {"plasmora ", C, 0},
      {"plasmora /c:1234", C, 1234},
      {"plasmora /c 1234", C, 1234},
      {"plasmora /C1234", C, 1234},
      {"plasmora /c", C, 0},
      {"plasmora /c: x 77 88", C, 77},
      {"plasmora /p 5678", P, 5678},
      {"plasmora /p:5678", P, 5678},
      {"plasmora /P", P, 0},
      {"plasmora /s", S, 0},
      {"plasmora /S", S, 0},
      {"plasmora -s", S, 0},
      {"plasmora /a", S, 0},
      {"plasmora /x", S, 0},
      {"plasmora /t", T, 0},
      {"plasmora -T", T, 0},
      {"plasmora /", S, 0},
      {"plasmora -", S, 0},
      {"plasmora /t /c 5", T, 0},  // only the first switch counts
      {"plasmora /s 99", S, 0},    // numbers matter only to /c and /p
      {"plasmora -p /c 5", P, 5},  // the digits may come after another switch
      {"\"C:\\my-dir\\x.scr\" /s", S, 0},
      {"\"C:\\my-dir\\x.scr\"", C, 0},
      {"\"C:\\my/dir\\x.scr\" -p 12", P, 12},
      {"\"C:\\unclosed -s", C, 0},    // an unclosed quote runs to the end
      {"C:\\a b-c\\x.scr /s", C, 0},  // unquoted: skipped only to its first space
      {"C:\\a b-p9\\x.scr /s", P, 9},
      {"plasmora /c:4294967295", C, 4294967295u},
      {"plasmora /c:4294967296", C, 0},  // names no window
      {"plasmora /p 123456789012345678901234567890", P, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SaverApp app;
    app.parentWindow = 999;
    EXPECT_EQ(app.parseCommandLine(c.text), c.mode);
    EXPECT_EQ(app.parentWindow, c.parentWindow);
  }
}

TEST(ParseCommandLine, ReadsTheTextThePlatformMakesOfTheArguments) {
  struct Argv {
    std::vector<const char*> args;
    const char* text;
    RunMode mode;
    std::uint32_t parentWindow;
  };
  const Argv cases[] = {
      {{"/usr/bin/plasmora"}, "/usr/bin/plasmora", RunMode::Configure, 0},
      {{"/usr/bin/plasmora", "/s"}, "/usr/bin/plasmora /s", RunMode::Saver, 0},
      {{"/usr/bin/plasmora", "/p", "5678"}, "/usr/bin/plasmora /p 5678", RunMode::Preview, 5678},
      // A folder with a space and a '-' must not yield a switch of its own.
      {{"/opt/my saver-c/plasmora", "/t"}, "\"/opt/my saver-c/plasmora\" /t", RunMode::Test, 0},
      {{"/opt/x-dir/plasmora", "-c:42"}, "/opt/x-dir/plasmora -c:42", RunMode::Configure, 42},
  };
  for (const Argv& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<char*> argv;
    for (const char* a : c.args) argv.push_back(const_cast<char*>(a));
    std::string text = processCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(text, c.text);
    SaverApp app;
    EXPECT_EQ(app.parseCommandLine(text.c_str()), c.mode);
    EXPECT_EQ(app.parentWindow, c.parentWindow);
  }
}

TEST(SaverAppInstance, IsReachableWhileItLives) {
  {
    SaverApp app;
    EXPECT_EQ(saverApp, &app);
  }
  EXPECT_EQ(saverApp, nullptr);
}

}  // namespace
