#include "platform/gtk/dialog_units.h"

#include <algorithm>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif

DialogUnits::DialogUnits(GtkWidget* widget) {
  PangoLayout* layout = gtk_widget_create_pango_layout(
      widget, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  int width = 0, height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  g_object_unref(layout);
  // The average width of the 52 letters, rounded as the dialogs' own rule rounds it.
  if (width > 0) baseX_ = std::max(1, (width / 26 + 1) / 2);
  if (height > 0) baseY_ = height;
}

void placeControl(GtkFixed* fixed, GtkWidget* widget, const DialogRect& place) {
  gtk_widget_set_size_request(widget, place.width, place.height);
  int minimum = 0, natural = 0;
  gtk_widget_get_preferred_height_for_width(widget, place.width, &minimum, &natural);
  int y = place.y;
  if (minimum > place.height) y -= (minimum - place.height) / 2;
  gtk_fixed_put(fixed, widget, place.x, std::max(0, y));
}

void setTransientForForeign(GtkWidget* window, std::uint32_t owner) {
#ifdef GDK_WINDOWING_X11
  if (owner == 0) return;
  GdkDisplay* display = gtk_widget_get_display(window);
  if (!GDK_IS_X11_DISPLAY(display)) return;
  gtk_widget_realize(window);
  // Null when no such window exists: the dialog then simply has no owner.
  GdkWindow* parent = gdk_x11_window_foreign_new_for_display(display, owner);
  if (parent == nullptr) return;
  gdk_window_set_transient_for(gtk_widget_get_window(window), parent);
  g_object_unref(parent);
#else
  (void)window;
  (void)owner;
#endif
}
