#pragma once
// Dialog units, the measure the dialogs' resources are laid out in: a quarter of the font's
// average character width across, an eighth of its height down. Scaling them from the font
// GTK uses keeps the resource's proportions and gives text the room it was laid out for.
#include <gtk/gtk.h>

#include <cstdint>

struct DialogRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

class DialogUnits {
 public:
  // From the font of `widget`.
  explicit DialogUnits(GtkWidget* widget);
  int x(int units) const { return (units * baseX_ + 2) / 4; }
  int y(int units) const { return (units * baseY_ + 4) / 8; }
  DialogRect toPixels(const DialogRect& r) const {
    return {x(r.x), y(r.y), x(r.x + r.width) - x(r.x), y(r.y + r.height) - y(r.y)};
  }

 private:
  int baseX_ = 6;
  int baseY_ = 13;
};

// Puts `widget` at the rectangle: its size is asked for, and a widget that needs more height
// than that is centred on the rectangle's middle so rows stay aligned.
void placeControl(GtkFixed* fixed, GtkWidget* widget, const DialogRect& place);

// Makes the realised `window` transient for the X window `owner` when that names a window of
// the display; nothing otherwise (0, a window that is gone, not X11).
void setTransientForForeign(GtkWidget* window, std::uint32_t owner);
