// The configuration dialog's behaviour against a double of its controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "host/config_dialog.h"

namespace {

namespace C = ConfigControl;

class FakeControls : public DialogControls {
 public:
  // The mode list in items and selected; the other lists by id.
  void addListItem(int id, const std::string& text) override {
    (id == C::ModeList ? items : lists[id]).push_back(text);
  }
  void selectListItem(int id, const std::string& text) override {
    const auto& list = id == C::ModeList ? items : lists[id];
    (id == C::ModeList ? selected : picked[id]) =
        std::find(list.begin(), list.end(), text) != list.end() ? text : "";
  }
  std::string selectedListItem(int id) override {
    return id == C::ModeList ? selected : picked[id];
  }
  void setChecked(int id, bool on) override { checked[id] = on; }
  bool isChecked(int id) override { return checked[id]; }
  void setEnabled(int id, bool on) override { disabled[id] = !on; }
  void setText(int id, const std::string& text) override { texts[id] = text; }
  void setSliderRange(int, int, int, int) override {}
  void setSliderPosition(int id, int position) override { sliders[id] = position; }
  int sliderPosition(int id) override { return sliders[id]; }
  void showAbout(const std::string&) override {}
  void showMessage(const std::string& text, const std::string&) override { message = text; }
  void endDialog(int result) override { ended = result; }

  std::vector<std::string> items;
  std::string selected, message;
  std::map<int, std::vector<std::string>> lists;
  std::map<int, std::string> picked;
  std::map<int, bool> checked, disabled;
  std::map<int, std::string> texts;
  std::map<int, int> sliders;
  int ended = 0;
};

const std::vector<DisplayMode> offered = {
    {640, 480, 32},  {800, 600, 16},   {800, 600, 16}, {800, 600, 32},
    {1024, 768, 32}, {1280, 1024, 32}, {800, 600, 16},
};
const DisplayMode desktop = {1280, 1024, 32};

Settings startingRecord() {
  Settings s;
  s.EnableMusic = s.ShowClock = s.ShowFlame = s.Random = s.English = true;
  s.Detail = 1, s.Volume = 70, s.Gamma = 30;
  s.Width = 1024, s.Height = 768, s.Depth = 32;
  return s;
}

// What the user does: a click on a control, a slider moved to a position, or a list pick.
struct Step {
  enum Kind { Click, Slide, Pick, FailSaves } kind;
  int id = 0;
  int position = 0;
  SliderMove move = SliderMove::ThumbTrack;
  const char* text = "";
};
Step click(int id) { return {Step::Click, id}; }
Step slide(int id, int position, SliderMove move) { return {Step::Slide, id, position, move}; }
Step pick(const char* text) { return {Step::Pick, 0, 0, SliderMove::ThumbTrack, text}; }

// Flags in the order UseDesktop EnableMusic ShowClock ShowFPS VSync MouseExit DefGamma Random
// TimeFormat English ShowFlame, then the mode and Detail, Volume, Gamma.
std::string describe(const Settings& s) {
  std::string out;
  for (bool f : {s.UseDesktop, s.EnableMusic, s.ShowClock, s.ShowFPS, s.VSync, s.MouseExit,
                 s.DefGamma, s.Random, s.TimeFormat, s.English, s.ShowFlame})
    out += f ? '1' : '0';
  char text[96];
  std::snprintf(text, sizeof text, " %dx%dx%d d%d v%d g%d", s.Width, s.Height, s.Depth, s.Detail,
                s.Volume, s.Gamma);
  return out + text;
}

// The selection, the two labels and the disabled controls.
std::string shown(FakeControls& c) {
  std::string out =
      "[" + c.selected + "] " + c.texts[C::VolumeLabel] + " " + c.texts[C::GammaLabel] + " off:";
  const std::pair<int, const char*> names[] = {{C::ModeList, "list"},   {C::VolumeSlider, "volume"},
                                               {C::VolumeLabel, "(v)"}, {C::GammaSlider, "gamma"},
                                               {C::GammaLabel, "(g)"},  {C::Clock12, "12"},
                                               {C::Clock24, "24"}};
  for (auto [id, name] : names)
    if (c.disabled[id]) out += std::string(" ") + name;
  return out;
}

TEST(ConfigDialog, ModeListKeepsQualifyingModesAndDropsAdjacentRepeats) {
  struct Case {
    std::vector<DisplayMode> modes;
    std::vector<std::string> items;
  };
  const Case cases[] = {
      {offered,
       {"640 x 480 32 bits", "800 x 600 16 bits", "800 x 600 32 bits", "1024 x 768 32 bits",
        "1280 x 1024 32 bits", "800 x 600 16 bits"}},
      {{{639, 480, 32}, {640, 479, 32}, {640, 480, 15}, {640, 480, 16}}, {"640 x 480 16 bits"}},
      // A mode left out does not separate two equal ones.
      {{{800, 600, 32}, {320, 200, 32}, {800, 600, 32}}, {"800 x 600 32 bits"}},
  };
  for (const Case& c : cases) EXPECT_EQ(modeListItems(c.modes), c.items);
}

TEST(ConfigDialog, ControlsFollowTheRecordAndOnlyOkStoresIt) {
  using M = SliderMove;
  struct Case {
    const char* name;
    std::vector<Step> steps;
    const char* result;  // what was stored and how the dialog ended | what it shows
    void (*start)(Settings&) = nullptr;
  };
  const Case cases[] = {
      {"opened on the desktop mode",
       {},
       "none, open | "
       "[1280 x 1024 32 bits] Volume (70%) Brightness (80%) off: list volume (v) gamma (g) 12 24",
       [](Settings& s) { s.UseDesktop = s.DefGamma = true, s.EnableMusic = s.ShowClock = false; }},
      {"a mode not offered",
       {click(C::Ok)},
       "01100001001 1024x768x24 d1 v70 g30, ended 1 | [] Volume (70%) Brightness (80%) off:",
       [](Settings& s) { s.Depth = 24; }},
      {"cancel",
       {click(C::ShowFps), slide(C::VolumeSlider, 20, M::PageUp), click(C::Cancel)},
       "none, ended 2 | [1024 x 768 32 bits] Volume (20%) Brightness (80%) off:"},
      {"picked mode, 12-hour clock, check boxes",
       {pick("800 x 600 16 bits"), click(C::Clock12), click(C::ShowFps), click(C::VSync),
        click(C::MouseExit), click(C::Ok)},
       "01111101101 800x600x16 d1 v70 g30, ended 1 | "
       "[800 x 600 16 bits] Volume (70%) Brightness (80%) off:"},
      {"dragged and paged",
       {slide(C::GammaSlider, 100, M::ThumbTrack), slide(C::VolumeSlider, 1, M::ThumbTrack),
        slide(C::DetailSlider, 2, M::PageDown), click(C::Ok)},
       "01100001001 1024x768x32 d2 v1 g100, ended 1 | "
       "[1024 x 768 32 bits] Volume (1%) Brightness (150%) off:"},
      {"brightness far left",
       {slide(C::GammaSlider, 0, M::PageUp)},
       "none, open | [1024 x 768 32 bits] Volume (70%) Brightness (50%) off:"},
      {"arrow keys, Home and End",
       {slide(C::VolumeSlider, 40, M::LineDown), slide(C::GammaSlider, 31, M::LineUp),
        slide(C::DetailSlider, 0, M::Top), slide(C::DetailSlider, 2, M::Bottom), click(C::Ok)},
       "01100001001 1024x768x32 d1 v70 g30, ended 1 | "
       "[1024 x 768 32 bits] Volume (70%) Brightness (80%) off:"},
      {"a page reads every slider",
       {slide(C::VolumeSlider, 40, M::LineDown), slide(C::DetailSlider, 0, M::PageUp)},
       "none, open | [1024 x 768 32 bits] Volume (40%) Brightness (80%) off:"},
      {"default gamma on and off",
       {click(C::DefaultGamma), click(C::DefaultGamma), click(C::Ok)},
       "01100001001 1024x768x32 d1 v70 g50, ended 1 | "
       "[1024 x 768 32 bits] Volume (70%) Brightness (100%) off:"},
      {"desktop on, music and time off",
       {click(C::UseDesktop), click(C::EnableMusic), click(C::ShowTime), click(C::Ok)},
       "10000001001 1280x1024x32 d1 v70 g30, ended 1 | "
       "[1280 x 1024 32 bits] Volume (70%) Brightness (80%) off: list volume (v) 12 24"},
      {"restore defaults then ok",
       {click(C::EnableMusic), click(C::ShowFps), click(C::Clock12),
        slide(C::GammaSlider, 90, M::ThumbTrack), click(C::RestoreDefaults), click(C::Ok)},
       "11100010101 1280x1024x32 d1 v100 g50, ended 1 | "
       "[1280 x 1024 32 bits] Volume (100%) Brightness (100%) off: list gamma (g)"},
      {"a refused save keeps the dialog open",
       {{Step::FailSaves}, click(C::Ok)},
       "none, open | [1024 x 768 32 bits] Volume (70%) Brightness (80%) off:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Settings record = startingRecord();
    if (c.start != nullptr) c.start(record);
    std::string stored = "none";
    bool fail = false;
    ConfigDialog dialog(record, offered, &desktop, [&](std::string& problem) {
      problem = "The settings file x is not a regular file.";
      if (!fail) stored = describe(record);
      return !fail;
    });
    FakeControls controls;
    dialog.initialise(controls);
    for (const Step& step : c.steps) {
      switch (step.kind) {
        case Step::Click:
          // Check boxes and radio buttons change their own state before they report.
          if (step.id == C::Clock12 || step.id == C::Clock24) {
            controls.checked[C::Clock12] = step.id == C::Clock12;
            controls.checked[C::Clock24] = step.id == C::Clock24;
          } else {
            controls.checked[step.id] = !controls.checked[step.id];
          }
          dialog.command(controls, step.id);
          break;
        case Step::Slide:
          controls.sliders[step.id] = step.position;
          dialog.sliderMoved(controls, step.move);
          break;
        case Step::Pick:
          controls.selected = step.text;
          break;
        case Step::FailSaves:
          fail = true;
          break;
      }
    }
    std::string ended = controls.ended == 0 ? "open" : "ended " + std::to_string(controls.ended);
    EXPECT_EQ(stored + ", " + ended + " | " + shown(controls), c.result);
    EXPECT_EQ(controls.message.empty(), !fail) << controls.message;
  }
}

TEST(ConfigDialog, MonitorsAndFrameLimitListsShowTheRecordAndOkReadsThemBack) {
  EXPECT_EQ(frameLimitItems(0),
            (std::vector<std::string>{"No limit", "20 frames/s", "30 frames/s", "60 frames/s"}));
  EXPECT_EQ(frameLimitItems(25), (std::vector<std::string>{"No limit", "20 frames/s", "25 frames/s",
                                                           "30 frames/s", "60 frames/s"}));
  EXPECT_EQ(frameLimitItems(144).back(), "144 frames/s");
  const struct {
    std::int32_t monitors, limit;  // stored
    const char* shownMonitors;
    const char* shownLimit;
    const char* pickMonitors;  // null: left as shown
    const char* pickLimit;
    bool restore;
    std::int32_t savedMonitors, savedLimit;
  } cases[] = {
      {0, 0, "On the primary monitor only", "No limit", nullptr, nullptr, false, 0, 0},
      {2, 25, "One view across all monitors", "25 frames/s", nullptr, nullptr, false, 2, 25},
      // Out of range: shown, and so stored, as the primary only and no limit.
      {7, -4, "On the primary monitor only", "No limit", nullptr, nullptr, false, 0, 0},
      {0, 0, "On the primary monitor only", "No limit", "On every monitor", "30 frames/s", false, 1,
       30},
      {2, 60, "One view across all monitors", "60 frames/s", nullptr, nullptr, true, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shownMonitors);
    Settings record = startingRecord();
    record.Monitors = c.monitors, record.FrameLimit = c.limit;
    ConfigDialog dialog(record, offered, &desktop, [](std::string&) { return true; });
    FakeControls controls;
    dialog.initialise(controls);
    EXPECT_EQ(controls.picked[C::MonitorsList], c.shownMonitors);
    EXPECT_EQ(controls.picked[C::FrameLimitList], c.shownLimit);
    if (c.pickMonitors != nullptr) controls.picked[C::MonitorsList] = c.pickMonitors;
    if (c.pickLimit != nullptr) controls.picked[C::FrameLimitList] = c.pickLimit;
    if (c.restore) dialog.command(controls, C::RestoreDefaults);
    dialog.command(controls, C::Ok);
    EXPECT_EQ(record.Monitors, c.savedMonitors);
    EXPECT_EQ(record.FrameLimit, c.savedLimit);
  }
}

}  // namespace
