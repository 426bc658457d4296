// The configuration dialog's behaviour against a double of its controls.
#include <gtest/gtest.h>

#include <map>

#include "host/config_dialog.h"

namespace {

namespace C = ConfigControl;

class FakeControls : public DialogControls {
 public:
  void addListItem(int, const std::string& text) override { items.push_back(text); }
  void selectListItem(int, const std::string& text) override {
    selected.clear();
    for (const std::string& item : items)
      if (item == text) selected = item;
  }
  std::string selectedListItem(int) override { return selected; }
  void setChecked(int id, bool on) override { checked[id] = on; }
  bool isChecked(int id) override { return checked[id]; }
  void setEnabled(int id, bool on) override { enabled[id] = on; }
  void setText(int id, const std::string& text) override { texts[id] = text; }
  void setSliderRange(int id, int minimum, int maximum, int page) override {
    ranges[id] =
        std::to_string(minimum) + ".." + std::to_string(maximum) + "/" + std::to_string(page);
  }
  void setSliderPosition(int id, int position) override { sliders[id] = position; }
  int sliderPosition(int id) override { return sliders[id]; }
  void showAbout(const std::string& text) override { about = text; }
  void showMessage(const std::string& text, const std::string&) override { message = text; }
  void endDialog(int result) override { ended = result; }

  std::vector<std::string> items;
  std::string selected;
  std::map<int, bool> checked, enabled;
  std::map<int, std::string> texts, ranges;
  std::map<int, int> sliders;
  std::string about, message;
  int ended = 0;
};

const std::vector<DisplayMode> offered = {
    {640, 480, 32},  {800, 600, 16},   {800, 600, 16}, {800, 600, 32},
    {1024, 768, 32}, {1280, 1024, 32}, {800, 600, 16},
};
const DisplayMode desktop = {1280, 1024, 32};

Settings startingRecord() {
  Settings s;
  s.EnableMusic = true;
  s.ShowClock = true;
  s.ShowFlame = true;
  s.Random = true;
  s.English = true;
  s.Detail = 1;
  s.Volume = 70;
  s.Gamma = 30;
  s.Width = 1024;
  s.Height = 768;
  s.Depth = 32;
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

std::string flags(const Settings& s) {
  std::string out;
  for (bool f : {s.UseDesktop, s.EnableMusic, s.ShowClock, s.ShowFPS, s.VSync, s.MouseExit,
                 s.DefGamma, s.Random, s.TimeFormat, s.English, s.ShowFlame})
    out += f ? '1' : '0';
  return out;
}

// The stored record (or "none") and what the dialog shows, in one line.
std::string outcome(const FakeControls& c, int saves, const Settings& stored) {
  std::string out = "saved ";
  if (saves == 0) {
    out += "none";
  } else {
    char text[160];
    std::snprintf(text, sizeof text, "%dx%dx%d %s d%d v%d g%d", stored.Width, stored.Height,
                  stored.Depth, flags(stored).c_str(), stored.Detail, stored.Volume, stored.Gamma);
    out += text;
  }
  // Controls start enabled.
  auto on = [&](int id) { return c.enabled.count(id) == 0 || c.enabled.at(id) ? "on" : "off"; };
  out += " | [" + c.selected + "] list " + on(C::ModeList) + " | " + c.texts.at(C::VolumeLabel) +
         " " + on(C::VolumeSlider) + " | " + c.texts.at(C::GammaLabel) + " " + on(C::GammaSlider) +
         " | clock " + on(C::Clock12) + " | ended " + std::to_string(c.ended);
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
      {{}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(modeListItems(c.modes), c.items);
}

TEST(ConfigDialog, OpensWithTheControlsOfTheRecord) {
  struct Case {
    const char* name;
    void (*change)(Settings&);
    const char* shown;
  };
  const Case cases[] = {
      {"own mode", [](Settings&) {},
       "saved none | [1024 x 768 32 bits] list on | Volume (70%) on | Brightness (80%) on | "
       "clock on | ended 0"},
      {"desktop mode",
       [](Settings& s) {
         s.UseDesktop = true;
         s.EnableMusic = false;
         s.ShowClock = false;
         s.DefGamma = true;
       },
       "saved none | [1280 x 1024 32 bits] list off | Volume (70%) off | Brightness (80%) off | "
       "clock off | ended 0"},
      {"mode not offered", [](Settings& s) { s.Depth = 24; },
       "saved none | [] list on | Volume (70%) on | Brightness (80%) on | clock on | ended 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Settings record = startingRecord();
    c.change(record);
    ConfigDialog dialog(record, offered, &desktop, [](std::string&) { return true; });
    FakeControls controls;
    dialog.initialise(controls);
    EXPECT_EQ(outcome(controls, 0, record), c.shown);
  }
}

TEST(ConfigDialog, SliderRangesAndPagesFollowTheirSettings) {
  Settings record = startingRecord();
  ConfigDialog dialog(record, offered, &desktop, [](std::string&) { return true; });
  FakeControls c;
  dialog.initialise(c);
  EXPECT_EQ(
      c.ranges[C::VolumeSlider] + " " + c.ranges[C::GammaSlider] + " " + c.ranges[C::DetailSlider],
      "1..100/10 0..100/10 0..2/1");
  EXPECT_EQ(c.sliders[C::VolumeSlider] * 10000 + c.sliders[C::GammaSlider] * 10 +
                c.sliders[C::DetailSlider],
            700301);
}

TEST(ConfigDialog, WhatTheUserDoesIsStoredOnlyByOk) {
  using M = SliderMove;
  struct Case {
    const char* name;
    std::vector<Step> steps;
    const char* result;
  };
  // Flags: UseDesktop EnableMusic ShowClock ShowFPS VSync MouseExit DefGamma Random TimeFormat
  // English ShowFlame. The record starts as 1024x768x32 01100001011 d1 v70 g30.
  const Case cases[] = {
      {"ok",
       {click(C::Ok)},
       "saved 1024x768x32 01100001001 d1 v70 g30 | [1024 x 768 32 bits] list on | Volume (70%) "
       "on | Brightness (80%) on | clock on | ended 1"},
      {"cancel after changes",
       {click(C::ShowFps), slide(C::VolumeSlider, 20, M::PageUp), click(C::Cancel)},
       "saved none | [1024 x 768 32 bits] list on | Volume (20%) on | Brightness (80%) on | "
       "clock on | ended 2"},
      {"picked mode, 12-hour clock, check boxes",
       {pick("800 x 600 16 bits"), click(C::Clock12), click(C::ShowFps), click(C::VSync),
        click(C::MouseExit), click(C::Ok)},
       "saved 800x600x16 01111101101 d1 v70 g30 | [800 x 600 16 bits] list on | Volume (70%) on "
       "| Brightness (80%) on | clock on | ended 1"},
      {"nothing selected keeps the mode",
       {pick(""), click(C::Ok)},
       "saved 1024x768x32 01100001001 d1 v70 g30 | [] list on | Volume (70%) on | Brightness "
       "(80%) on | clock on | ended 1"},
      {"brightness far right, volume dragged, detail paged",
       {slide(C::GammaSlider, 100, M::ThumbTrack), slide(C::VolumeSlider, 1, M::ThumbTrack),
        slide(C::DetailSlider, 2, M::PageDown), click(C::Ok)},
       "saved 1024x768x32 01100001001 d2 v1 g100 | [1024 x 768 32 bits] list on | Volume (1%) on "
       "| Brightness (150%) on | clock on | ended 1"},
      {"brightness far left",
       {slide(C::GammaSlider, 0, M::PageUp), click(C::Ok)},
       "saved 1024x768x32 01100001001 d1 v70 g0 | [1024 x 768 32 bits] list on | Volume (70%) on "
       "| Brightness (50%) on | clock on | ended 1"},
      {"arrow keys, Home and End change nothing",
       {slide(C::VolumeSlider, 40, M::LineDown), slide(C::GammaSlider, 31, M::LineUp),
        slide(C::DetailSlider, 0, M::Top), slide(C::DetailSlider, 2, M::Bottom), click(C::Ok)},
       "saved 1024x768x32 01100001001 d1 v70 g30 | [1024 x 768 32 bits] list on | Volume (70%) "
       "on | Brightness (80%) on | clock on | ended 1"},
      {"a page reads every slider, arrow-moved ones too",
       {slide(C::VolumeSlider, 40, M::LineDown), slide(C::DetailSlider, 0, M::PageUp),
        click(C::Ok)},
       "saved 1024x768x32 01100001001 d0 v40 g30 | [1024 x 768 32 bits] list on | Volume (40%) "
       "on | Brightness (80%) on | clock on | ended 1"},
      {"default gamma checked then unchecked",
       {click(C::DefaultGamma), click(C::DefaultGamma), click(C::Ok)},
       "saved 1024x768x32 01100001001 d1 v70 g50 | [1024 x 768 32 bits] list on | Volume (70%) "
       "on | Brightness (100%) on | clock on | ended 1"},
      {"use desktop, music and time off",
       {click(C::UseDesktop), click(C::EnableMusic), click(C::ShowTime), click(C::Ok)},
       "saved 1280x1024x32 10000001001 d1 v70 g30 | [1280 x 1024 32 bits] list off | Volume "
       "(70%) off | Brightness (80%) on | clock off | ended 1"},
      {"restore defaults then ok",
       {click(C::EnableMusic), click(C::ShowFps), click(C::Clock12),
        slide(C::GammaSlider, 90, M::ThumbTrack), click(C::RestoreDefaults), click(C::Ok)},
       "saved 1280x1024x32 11100010101 d1 v100 g50 | [1280 x 1024 32 bits] list off | Volume "
       "(100%) on | Brightness (100%) off | clock on | ended 1"},
      {"a refused save keeps the dialog open",
       {{Step::FailSaves}, click(C::Ok)},
       "saved none | [1024 x 768 32 bits] list on | Volume (70%) on | Brightness (80%) on | "
       "clock on | ended 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Settings record = startingRecord();
    Settings stored;
    int saves = 0;
    bool fail = false;
    ConfigDialog dialog(record, offered, &desktop, [&](std::string& problem) {
      if (fail) {
        problem = "The settings file x is not a regular file; it was left as it is.";
        return false;
      }
      stored = record;
      ++saves;
      return true;
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
          } else if (step.id != C::Ok && step.id != C::Cancel) {
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
    EXPECT_EQ(outcome(controls, saves, stored), c.result);
    if (fail) {
      EXPECT_NE(controls.message.find("not a regular file"), std::string::npos);
    }
  }
}

TEST(ConfigDialog, AboutShowsTheProductNameAndOtherIdsAreNotHandled) {
  Settings record = startingRecord();
  ConfigDialog dialog(record, offered, &desktop, [](std::string&) { return true; });
  FakeControls c;
  dialog.initialise(c);
  EXPECT_TRUE(dialog.command(c, C::About));
  EXPECT_EQ(c.about.rfind("Plasmora", 0), 0u);
  EXPECT_FALSE(dialog.command(c, C::Clock12));
  EXPECT_FALSE(dialog.command(c, 4242));
}

}  // namespace
