// The configuration dialog on the process-wide settings, stored through the settings store.
#include "host/builtin_bitmaps.h"
#include "host/config_dialog.h"
#include "host/load_settings.h"
#include "host/saver_app.h"
#include "platform/display_mode_list.h"

namespace {

// A dark picture of the right size, should the artwork be missing.
DialogPicture placeholderPicture() {
  static std::vector<unsigned char> pixels = [] {
    std::vector<unsigned char> rgb(263 * 180 * 3);
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
      rgb[i] = 10;
      rgb[i + 1] = 14;
      rgb[i + 2] = 28;
    }
    return rgb;
  }();
  return {263, 180, pixels.data()};
}

DialogPicture dialogPicture() {
  if (const BuiltinBitmap* bitmap = builtinBitmap(dialogBitmapId))
    return {bitmap->width, bitmap->height, bitmap->rgb};
  return placeholderPicture();
}

}  // namespace

void runConfigDialog(SaverApp& app) {
  DisplayMode desktop;
  bool haveDesktop = currentDisplayMode(desktop);
  ConfigDialog dialog(settings, listDisplayModes(), haveDesktop ? &desktop : nullptr,
                      [](std::string& problem) { return saveSettings(&problem); });
  std::vector<DialogPicture> icons;
  for (const BuiltinBitmap& icon : builtinIcons())
    icons.push_back({icon.width, icon.height, icon.rgb});
  runConfigDialogWindow(app.parentWindow, dialog, dialogPicture(), icons);
}
