#pragma once
// The configuration dialog's behaviour, whatever toolkit draws it: it fills the controls from
// the settings record, edits the record control by control as the user works, and stores it
// on OK; Cancel stores nothing.
//
// - The mode list shows the display modes of at least 640 x 480 and 16 bits as
//   "%d x %d %d bits", in the display's order, a mode equal to the one before it (a refresh
//   rate of its own) once; OK reads Width, Height and Depth back from the selected text and
//   keeps them when nothing is selected.
// - A slider changes its setting when paged or dragged; arrow-key line steps, Home and End
//   move it without changing any setting, until the next page or drag reads all three.
// - "Restore Defaults" and the sliders' ranges take their values from the settings table.
// - OK always stores English as false. When the store refuses the save (a settings file it
//   cannot read whole, or cannot write), the user is told why and the dialog stays open, so
//   that nothing is lost silently; Cancel then leaves.
// - The Monitors and frame limit lists are read back on OK, like the mode list.
#include <functional>
#include <string>
#include <vector>

#include "platform/config_dialog_window.h"
#include "platform/display_mode.h"
#include "settings/settings.h"

// The list's text of a mode, as "1024 x 768 32 bits".
std::string modeText(const DisplayMode& mode);

// The list's items for the modes a display offers, in its order.
std::vector<std::string> modeListItems(const std::vector<DisplayMode>& modes);

// The Monitors list's items, for the settings 0, 1 and 2 (any other value shows as 0).
extern const char* const monitorsItems[3];
// The frame limit list's text of a cap ("No limit" for 0 or less, else "30 frames/s"), and its
// items: no limit, 20, 30 and 60, with a stored cap of another value in its place among them.
std::string frameLimitText(std::int32_t limit);
std::vector<std::string> frameLimitItems(std::int32_t stored);

// The About box's text: the product name and its credits.
extern const char* const aboutText;

class ConfigDialog : public DialogProcedure {
 public:
  // Stores the record; false with a sentence for the user when it could not.
  using Save = std::function<bool(std::string& problem)>;

  // `desktop` is the display's present mode, null when it is not known.
  ConfigDialog(Settings& record, std::vector<DisplayMode> modes, const DisplayMode* desktop,
               Save save);

  void initialise(DialogControls& controls) override;
  bool command(DialogControls& controls, int id) override;
  void sliderMoved(DialogControls& controls, SliderMove move) override;

 private:
  void selectDesktopMode(DialogControls& controls);
  void showVolume(DialogControls& controls);
  void showGamma(DialogControls& controls);
  void showMonitors(DialogControls& controls);
  void accept(DialogControls& controls);

  Settings& record_;
  std::vector<DisplayMode> modes_;
  bool haveDesktop_ = false;
  DisplayMode desktop_;
  Save save_;
};

class SaverApp;

// Runs the dialog over the window the command line named, on the process-wide settings.
void runConfigDialog(SaverApp& app);
