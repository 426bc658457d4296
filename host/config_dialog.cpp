#include "host/config_dialog.h"

#include <cstdio>
#include <cstdlib>

namespace C = ConfigControl;

namespace {

// What "Restore Defaults" gives a setting, and a slider's range: from the settings table.
std::int32_t restored(const char* name) { return findSetting(name)->defaultValue; }
bool restoredFlag(const char* name) { return restored(name) != 0; }

void setSliderRange(DialogControls& controls, int id, const char* setting, int page) {
  const SettingInfo& info = *findSetting(setting);
  controls.setSliderRange(id, info.minimum, info.maximum, page);
}

// A check box's click: flips its setting and shows the new state.
void toggle(DialogControls& controls, int id, bool& setting) {
  setting = !setting;
  controls.setChecked(id, setting);
}

}  // namespace

const char* const monitorsItems[3] = {"On the primary monitor only", "On every monitor",
                                      "One view across all monitors"};

std::string frameLimitText(std::int32_t limit) {
  return limit <= 0 ? std::string("No limit") : std::to_string(limit) + " frames/s";
}

std::vector<std::string> frameLimitItems(std::int32_t stored) {
  std::vector<std::string> items{frameLimitText(0)};
  bool listed = stored <= 0;
  for (std::int32_t limit : {20, 30, 60}) {
    // A stored cap of its own takes its place in the order.
    if (!listed && stored < limit) items.push_back(frameLimitText(stored)), listed = true;
    listed = listed || stored == limit;
    items.push_back(frameLimitText(limit));
  }
  if (!listed) items.push_back(frameLimitText(stored));
  return items;
}

const char* const aboutText =
    "Plasmora\n\n"
    "A flight through a living cell:\n"
    "its cells, its nucleus and a replicating\n"
    "strand of DNA.\n\n"
    "Code, pictures and music by\n"
    "the Plasmora authors.";

std::string modeText(const DisplayMode& mode) {
  char text[64];
  std::snprintf(text, sizeof text, "%d x %d %d bits", mode.width, mode.height, mode.bitsPerPixel);
  return text;
}

std::vector<std::string> modeListItems(const std::vector<DisplayMode>& modes) {
  std::vector<std::string> items;
  const DisplayMode* previous = nullptr;
  for (const DisplayMode& mode : modes) {
    if (mode.width < 640 || mode.height < 480 || mode.bitsPerPixel < 16) continue;
    bool repeat = previous != nullptr && previous->width == mode.width &&
                  previous->height == mode.height && previous->bitsPerPixel == mode.bitsPerPixel;
    if (!repeat) items.push_back(modeText(mode));
    previous = &mode;
  }
  return items;
}

ConfigDialog::ConfigDialog(Settings& record, std::vector<DisplayMode> modes,
                           const DisplayMode* desktop, Save save)
    : record_(record), modes_(std::move(modes)), save_(std::move(save)) {
  if (desktop != nullptr) {
    haveDesktop_ = true;
    desktop_ = *desktop;
  }
}

void ConfigDialog::selectDesktopMode(DialogControls& controls) {
  // An unknown desktop mode matches no item, which leaves nothing selected.
  controls.selectListItem(C::ModeList, haveDesktop_ ? modeText(desktop_) : std::string());
}

void ConfigDialog::showVolume(DialogControls& controls) {
  char text[32];
  std::snprintf(text, sizeof text, "Volume (%d%%)", record_.Volume);
  controls.setText(C::VolumeLabel, text);
}

void ConfigDialog::showGamma(DialogControls& controls) {
  char text[32];
  std::snprintf(text, sizeof text, "Brightness (%d%%)", record_.Gamma + 50);
  controls.setText(C::GammaLabel, text);
}

void ConfigDialog::initialise(DialogControls& controls) {
  for (const std::string& item : modeListItems(modes_)) controls.addListItem(C::ModeList, item);
  if (record_.UseDesktop) {
    selectDesktopMode(controls);
    controls.setEnabled(C::ModeList, false);
  } else {
    controls.selectListItem(C::ModeList, modeText({record_.Width, record_.Height, record_.Depth}));
  }

  controls.setChecked(C::UseDesktop, record_.UseDesktop);
  controls.setChecked(C::EnableMusic, record_.EnableMusic);
  controls.setChecked(C::DefaultGamma, record_.DefGamma);
  controls.setChecked(C::ShowTime, record_.ShowClock);
  controls.setChecked(C::ShowFps, record_.ShowFPS);
  controls.setChecked(C::VSync, record_.VSync);
  controls.setChecked(C::MouseExit, record_.MouseExit);
  controls.setChecked(C::Clock12, record_.TimeFormat);
  controls.setChecked(C::Clock24, !record_.TimeFormat);

  controls.setEnabled(C::VolumeSlider, record_.EnableMusic);
  controls.setEnabled(C::VolumeLabel, record_.EnableMusic);
  controls.setEnabled(C::GammaSlider, !record_.DefGamma);
  controls.setEnabled(C::GammaLabel, !record_.DefGamma);
  controls.setEnabled(C::Clock12, record_.ShowClock);
  controls.setEnabled(C::Clock24, record_.ShowClock);

  showVolume(controls);
  showGamma(controls);

  setSliderRange(controls, C::VolumeSlider, "Volume", 10);
  controls.setSliderPosition(C::VolumeSlider, record_.Volume);
  setSliderRange(controls, C::GammaSlider, "Gamma", 10);
  controls.setSliderPosition(C::GammaSlider, record_.Gamma);
  setSliderRange(controls, C::DetailSlider, "Detail", 1);
  controls.setSliderPosition(C::DetailSlider, record_.Detail);

  for (const char* item : monitorsItems) controls.addListItem(C::MonitorsList, item);
  showMonitors(controls);
  for (const std::string& item : frameLimitItems(record_.FrameLimit))
    controls.addListItem(C::FrameLimitList, item);
  controls.selectListItem(C::FrameLimitList, frameLimitText(record_.FrameLimit));
}

void ConfigDialog::showMonitors(DialogControls& controls) {
  const int mode = record_.Monitors >= 0 && record_.Monitors <= 2 ? record_.Monitors : 0;
  controls.selectListItem(C::MonitorsList, monitorsItems[mode]);
}

void ConfigDialog::accept(DialogControls& controls) {
  int width = 0, height = 0, depth = 0;
  std::string item = controls.selectedListItem(C::ModeList);
  if (std::sscanf(item.c_str(), "%d x %d %d bits", &width, &height, &depth) == 3) {
    record_.Width = width;
    record_.Height = height;
    record_.Depth = depth;
  }
  record_.TimeFormat = controls.isChecked(C::Clock12);
  record_.English = false;
  const std::string monitors = controls.selectedListItem(C::MonitorsList);
  for (int mode = 0; mode < 3; ++mode)
    if (monitors == monitorsItems[mode]) record_.Monitors = mode;
  const std::string limit = controls.selectedListItem(C::FrameLimitList);
  if (limit == frameLimitText(0))
    record_.FrameLimit = 0;
  else if (!limit.empty())
    record_.FrameLimit = std::atoi(limit.c_str());
  std::string problem;
  if (!save_(problem)) {
    controls.showMessage("The settings were not saved. " + problem, "Plasmora Configuration");
    return;
  }
  controls.endDialog(C::Ok);
}

bool ConfigDialog::command(DialogControls& controls, int id) {
  switch (id) {
    case C::Ok:
      accept(controls);
      return true;
    case C::Cancel:
      controls.endDialog(C::Cancel);
      return true;
    case C::UseDesktop:
      toggle(controls, id, record_.UseDesktop);
      controls.setEnabled(C::ModeList, !record_.UseDesktop);
      if (record_.UseDesktop) selectDesktopMode(controls);
      return true;
    case C::EnableMusic:
      toggle(controls, id, record_.EnableMusic);
      controls.setEnabled(C::VolumeSlider, record_.EnableMusic);
      controls.setEnabled(C::VolumeLabel, record_.EnableMusic);
      return true;
    case C::ShowTime:
      toggle(controls, id, record_.ShowClock);
      controls.setEnabled(C::Clock12, record_.ShowClock);
      controls.setEnabled(C::Clock24, record_.ShowClock);
      return true;
    case C::MouseExit:
      toggle(controls, id, record_.MouseExit);
      return true;
    case C::ShowFps:
      toggle(controls, id, record_.ShowFPS);
      return true;
    case C::VSync:
      toggle(controls, id, record_.VSync);
      return true;
    case C::DefaultGamma:
      toggle(controls, id, record_.DefGamma);
      controls.setSliderPosition(C::GammaSlider, 50);
      record_.Gamma = 50;
      controls.setEnabled(C::GammaSlider, !record_.DefGamma);
      controls.setEnabled(C::GammaLabel, !record_.DefGamma);
      showGamma(controls);
      return true;
    case C::RestoreDefaults:
      // The values are the settings table's; the order is the dialog's own.
      record_.UseDesktop = restoredFlag("UseDesktop");
      if (record_.UseDesktop) selectDesktopMode(controls);
      controls.setEnabled(C::ModeList, !record_.UseDesktop);
      record_.EnableMusic = restoredFlag("EnableMusic");
      controls.setChecked(C::UseDesktop, record_.UseDesktop);
      controls.setChecked(C::EnableMusic, record_.EnableMusic);
      record_.Volume = restored("Volume");
      record_.Gamma = restored("Gamma");
      controls.setEnabled(C::VolumeSlider, record_.EnableMusic);
      controls.setEnabled(C::VolumeLabel, record_.EnableMusic);
      showVolume(controls);
      showGamma(controls);
      record_.ShowClock = restoredFlag("ShowClock");
      controls.setChecked(C::ShowTime, record_.ShowClock);
      controls.setEnabled(C::Clock12, record_.ShowClock);
      controls.setEnabled(C::Clock24, record_.ShowClock);
      record_.ShowFPS = restoredFlag("ShowFPS");
      record_.VSync = restoredFlag("VSync");
      record_.MouseExit = restoredFlag("MouseExit");
      controls.setChecked(C::ShowFps, record_.ShowFPS);
      controls.setChecked(C::VSync, record_.VSync);
      controls.setChecked(C::MouseExit, record_.MouseExit);
      record_.Random = restoredFlag("Random");
      controls.setSliderPosition(C::VolumeSlider, record_.Volume);
      controls.setSliderPosition(C::GammaSlider, record_.Gamma);
      record_.DefGamma = restoredFlag("DefGamma");
      controls.setChecked(C::DefaultGamma, record_.DefGamma);
      controls.setEnabled(C::GammaSlider, !record_.DefGamma);
      controls.setEnabled(C::GammaLabel, !record_.DefGamma);
      record_.Monitors = restored("Monitors");
      showMonitors(controls);
      record_.FrameLimit = restored("FrameLimit");
      controls.selectListItem(C::FrameLimitList, frameLimitText(record_.FrameLimit));
      return true;
    case C::About:
      controls.showAbout(aboutText);
      return true;
    default:
      // The radio buttons keep their own state until OK reads it.
      return false;
  }
}

void ConfigDialog::sliderMoved(DialogControls& controls, SliderMove move) {
  if (move != SliderMove::PageUp && move != SliderMove::PageDown && move != SliderMove::ThumbTrack)
    return;
  record_.Volume = controls.sliderPosition(C::VolumeSlider);
  showVolume(controls);
  record_.Gamma = controls.sliderPosition(C::GammaSlider);
  showGamma(controls);
  record_.Detail = controls.sliderPosition(C::DetailSlider);
}
