#include "platform/x11/window_icon.h"

#include <X11/Xatom.h>

namespace {

std::vector<unsigned long>& iconValues() {
  static std::vector<unsigned long> values;
  return values;
}

}  // namespace

std::vector<unsigned long> netWmIconValues(const WindowIcon* icons, int count) {
  std::vector<unsigned long> values;
  for (int i = 0; icons != nullptr && i < count; ++i) {
    const WindowIcon& icon = icons[i];
    if (icon.rgb == nullptr || icon.width < 1 || icon.height < 1 || icon.width > 1024 ||
        icon.height > 1024)
      continue;
    values.push_back(static_cast<unsigned long>(icon.width));
    values.push_back(static_cast<unsigned long>(icon.height));
    const std::size_t pixels = static_cast<std::size_t>(icon.width) * icon.height;
    for (std::size_t p = 0; p < pixels; ++p) {
      const unsigned char* c = icon.rgb + p * 3;
      values.push_back(0xFF000000ul | static_cast<unsigned long>(c[0]) << 16 |
                       static_cast<unsigned long>(c[1]) << 8 | c[2]);
    }
  }
  return values;
}

void setWindowIcons(const WindowIcon* icons, int count) {
  iconValues() = netWmIconValues(icons, count);
}

void applyWindowIcon(Display* display, Window window) {
  const std::vector<unsigned long>& values = iconValues();
  if (display == nullptr || values.empty()) return;
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(values.data()),
                  static_cast<int>(values.size()));
}
