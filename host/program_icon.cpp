#include "host/program_icon.h"

#include <vector>

#include "host/builtin_bitmaps.h"
#include "platform/window.h"

void installProgramIcon() {
  std::vector<WindowIcon> icons;
  for (const BuiltinBitmap& size : builtinIcons())
    icons.push_back({size.width, size.height, size.rgb});
  setWindowIcons(icons.data(), static_cast<int>(icons.size()));
}
