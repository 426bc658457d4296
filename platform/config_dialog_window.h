#pragma once
// The configuration dialog's window: its controls, laid out by the toolkit, and a procedure
// that gives them their behaviour. The window knows nothing of settings; it reports what the
// user does by control id and lets the procedure read and set the controls. The same
// procedure then serves every toolkit, and tests drive it with a double of the controls.
//
// Ids, captions, groups and places (in dialog units of a 397 x 238 dialog) are those of the
// dialog's resource; the toolkit scales dialog units to pixels from its font.
#include <cstdint>
#include <span>
#include <string>

namespace ConfigControl {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int ModeList = 1000;
constexpr int UseDesktop = 1001;
constexpr int EnableMusic = 1003;
constexpr int ShowTime = 1004;
constexpr int RestoreDefaults = 1006;
constexpr int About = 1008;
constexpr int MouseExit = 1011;
constexpr int VolumeLabel = 1017;
constexpr int VolumeSlider = 1026;
constexpr int ShowFps = 1027;
constexpr int VSync = 1028;
constexpr int GammaSlider = 1029;
constexpr int GammaLabel = 1030;
constexpr int DefaultGamma = 1032;
constexpr int DetailSlider = 1042;
constexpr int Clock24 = 1049;
constexpr int Clock12 = 1054;
constexpr int MonitorsList = 1060;
constexpr int FrameLimitList = 1061;
}  // namespace ConfigControl

// How a slider was moved. Line steps come from the arrow keys, pages from Page Up/Down or a
// click beside the thumb, thumb track from dragging; Top and Bottom from Home and End.
enum class SliderMove { LineUp, LineDown, PageUp, PageDown, ThumbTrack, Top, Bottom };

// The dialog's controls as the procedure sees them.
class DialogControls {
 public:
  virtual ~DialogControls() = default;
  virtual void addListItem(int id, const std::string& text) = 0;
  // Selects the first item with exactly this text; with none, no item is selected.
  virtual void selectListItem(int id, const std::string& text) = 0;
  // The selected item's text; empty when nothing is selected.
  virtual std::string selectedListItem(int id) = 0;
  virtual void setChecked(int id, bool checked) = 0;
  virtual bool isChecked(int id) = 0;
  virtual void setEnabled(int id, bool enabled) = 0;
  virtual void setText(int id, const std::string& text) = 0;
  virtual void setSliderRange(int id, int minimum, int maximum, int page) = 0;
  virtual void setSliderPosition(int id, int position) = 0;
  virtual int sliderPosition(int id) = 0;
  // The About box, modal over the dialog, showing `text`.
  virtual void showAbout(const std::string& text) = 0;
  virtual void showMessage(const std::string& text, const std::string& caption) = 0;
  // Closes the dialog once the procedure returns; runConfigDialogWindow returns `result`.
  virtual void endDialog(int result) = 0;
};

// What the dialog does. The window calls initialise once before it is shown, command for a
// click on a button, check box or radio button (after a check box or radio button has
// changed its own state), and sliderMoved after a slider has taken its new position. The
// caption's close button and Escape count as a click on Cancel.
class DialogProcedure {
 public:
  virtual ~DialogProcedure() = default;
  virtual void initialise(DialogControls& controls) = 0;
  // True when the command was handled.
  virtual bool command(DialogControls& controls, int id) = 0;
  virtual void sliderMoved(DialogControls& controls, SliderMove move) = 0;
};

// A picture of RGB8 pixels, rows top-down.
struct DialogPicture {
  int width = 0;
  int height = 0;
  const unsigned char* rgb = nullptr;
};

// Shows the dialog modally, over the window `owner` when it is a window of the display (0:
// no owner), with `picture` in its picture box and `icons` (every size of the program's icon)
// for the window manager, and returns the result given to endDialog, or -1 when no window
// could be shown (no display).
int runConfigDialogWindow(std::uint32_t owner, DialogProcedure& procedure,
                          const DialogPicture& picture, std::span<const DialogPicture> icons);
