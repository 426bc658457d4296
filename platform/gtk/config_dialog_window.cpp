// The configuration dialog with GTK 3: the controls of the dialog's resource, placed where it
// places them (dialog units scaled from the font), wired to the procedure.
#include "platform/config_dialog_window.h"

#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif

#include <map>

#include "platform/gtk/dialog_units.h"

namespace {

namespace C = ConfigControl;

// The pixels as a pixbuf that borrows them; they outlive every window of the dialog.
GdkPixbuf* pixbufOf(const DialogPicture& picture) {
  return gdk_pixbuf_new_from_data(picture.rgb, GDK_COLORSPACE_RGB, FALSE, 8, picture.width,
                                  picture.height, picture.width * 3, nullptr, nullptr);
}

enum class Kind {
  Button,
  DefaultButton,
  Group,
  List,
  Check,
  Radio,
  Slider,
  TickSlider,
  Text,
  Picture
};

struct ControlLayout {
  int id;  // 0 for controls the procedure never touches
  Kind kind;
  const char* caption;
  DialogRect place;
};

// The dialog's resource: 397 x 238 dialog units.
constexpr int dialogWidth = 397;
constexpr int dialogHeight = 238;
const ControlLayout controlLayouts[] = {
    {0, Kind::Group, "Video Mode", {6, 2, 93, 61}},
    {C::ModeList, Kind::List, "", {12, 16, 82, 14}},
    {C::UseDesktop, Kind::Check, "Use Desktop Settings", {12, 36, 81, 9}},
    {C::VSync, Kind::Check, "VSync", {12, 48, 81, 9}},
    {0, Kind::Group, "Options", {105, 2, 102, 61}},
    {C::ShowFps, Kind::Check, "Show FPS", {111, 13, 48, 9}},
    {C::MouseExit, Kind::Check, "Exit on Mouse move", {111, 24, 78, 9}},
    {C::ShowTime, Kind::Check, "Show Time", {111, 36, 51, 9}},
    {C::Clock12, Kind::Radio, "12 hrs", {126, 48, 35, 10}},
    {C::Clock24, Kind::Radio, "24 hrs", {165, 48, 35, 10}},
    {0, Kind::Group, "Graphics Detail", {6, 64, 201, 53}},
    {C::DetailSlider, Kind::TickSlider, "", {12, 79, 186, 26}},
    {0, Kind::Group, "Gamma Control", {6, 118, 201, 43}},
    {C::GammaLabel, Kind::Text, "Brightness 100%", {12, 129, 57, 8}},
    {C::GammaSlider, Kind::Slider, "", {72, 129, 128, 12}},
    {C::DefaultGamma, Kind::Check, "Use default gamma", {12, 143, 96, 10}},
    {0, Kind::Picture, "", {213, 5, 177, 103}},
    {0, Kind::Group, "Sounds", {213, 118, 177, 43}},
    {C::VolumeLabel, Kind::Text, "Volume (100%)", {220, 129, 50, 8}},
    {C::VolumeSlider, Kind::Slider, "", {273, 129, 113, 12}},
    {C::EnableMusic, Kind::Check, "Enable Music", {220, 144, 85, 10}},
    {C::About, Kind::Button, "About...", {319, 171, 65, 12}},
    {0, Kind::Group, "Monitors", {6, 164, 201, 52}},
    {0, Kind::Text, "Show", {12, 178, 40, 8}},
    {C::MonitorsList, Kind::List, "", {56, 176, 144, 14}},
    {0, Kind::Text, "Frame limit", {12, 198, 40, 8}},
    {C::FrameLimitList, Kind::List, "", {56, 196, 80, 14}},
    {C::RestoreDefaults, Kind::Button, "Restore Defaults", {6, 221, 75, 14}},
    {C::Ok, Kind::DefaultButton, "OK", {244, 221, 65, 14}},
    {C::Cancel, Kind::Button, "Cancel", {319, 221, 65, 14}},
};

// The detail slider's fixed labels, under its three positions.
const char* const detailLabels[] = {"Low", "Medium", "High"};

SliderMove moveOf(GtkScrollType scroll, bool& known) {
  known = true;
  switch (scroll) {
    case GTK_SCROLL_STEP_BACKWARD:
    case GTK_SCROLL_STEP_LEFT:
    case GTK_SCROLL_STEP_UP:
      return SliderMove::LineUp;
    case GTK_SCROLL_STEP_FORWARD:
    case GTK_SCROLL_STEP_RIGHT:
    case GTK_SCROLL_STEP_DOWN:
      return SliderMove::LineDown;
    case GTK_SCROLL_PAGE_BACKWARD:
    case GTK_SCROLL_PAGE_LEFT:
    case GTK_SCROLL_PAGE_UP:
      return SliderMove::PageUp;
    case GTK_SCROLL_PAGE_FORWARD:
    case GTK_SCROLL_PAGE_RIGHT:
    case GTK_SCROLL_PAGE_DOWN:
      return SliderMove::PageDown;
    case GTK_SCROLL_JUMP:
      return SliderMove::ThumbTrack;
    case GTK_SCROLL_START:
      return SliderMove::Top;
    case GTK_SCROLL_END:
      return SliderMove::Bottom;
    default:
      known = false;
      return SliderMove::Top;
  }
}

class GtkControls : public DialogControls {
 public:
  GtkControls(DialogProcedure& procedure, const DialogPicture& picture)
      : procedure_(procedure), picture_(picture) {}

  int run(std::uint32_t owner);

  void addListItem(int id, const std::string& text) override {
    Quiet quiet(*this);
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(widget(id)), text.c_str());
  }
  void selectListItem(int id, const std::string& text) override {
    Quiet quiet(*this);
    GtkComboBox* box = GTK_COMBO_BOX(widget(id));
    GtkTreeModel* model = gtk_combo_box_get_model(box);
    GtkTreeIter it;
    int index = 0, found = -1;
    for (bool more = gtk_tree_model_get_iter_first(model, &it); more && found < 0;
         more = gtk_tree_model_iter_next(model, &it), ++index) {
      gchar* item = nullptr;
      gtk_tree_model_get(model, &it, 0, &item, -1);
      if (item != nullptr && text == item) found = index;
      g_free(item);
    }
    gtk_combo_box_set_active(box, found);
  }
  std::string selectedListItem(int id) override {
    gchar* text = gtk_combo_box_text_get_active_text(GTK_COMBO_BOX_TEXT(widget(id)));
    std::string result = text != nullptr ? text : "";
    g_free(text);
    return result;
  }
  void setChecked(int id, bool checked) override {
    Quiet quiet(*this);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget(id)), checked);
  }
  bool isChecked(int id) override {
    return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget(id)));
  }
  void setEnabled(int id, bool enabled) override { gtk_widget_set_sensitive(widget(id), enabled); }
  void setText(int id, const std::string& text) override {
    gtk_label_set_text(GTK_LABEL(widget(id)), text.c_str());
  }
  void setSliderRange(int id, int minimum, int maximum, int page) override {
    Quiet quiet(*this);
    GtkRange* range = GTK_RANGE(widget(id));
    gtk_range_set_range(range, minimum, maximum);
    gtk_range_set_increments(range, 1, page);
  }
  void setSliderPosition(int id, int position) override {
    Quiet quiet(*this);
    gtk_range_set_value(GTK_RANGE(widget(id)), position);
  }
  int sliderPosition(int id) override {
    return static_cast<int>(gtk_range_get_value(GTK_RANGE(widget(id))) + 0.5);
  }
  void showAbout(const std::string& text) override;
  void showMessage(const std::string& text, const std::string& caption) override {
    GtkWidget* box = gtk_message_dialog_new(GTK_WINDOW(window_), GTK_DIALOG_MODAL,
                                            GTK_MESSAGE_ERROR, GTK_BUTTONS_OK, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(box), caption.c_str());
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
  }
  void endDialog(int result) override {
    if (ended_) return;
    ended_ = true;
    result_ = result;
    gtk_main_quit();
  }

 private:
  // While the procedure sets a control, the signals it raises are not the user's doing.
  struct Quiet {
    explicit Quiet(GtkControls& c) : controls(c) { ++controls.quiet_; }
    ~Quiet() { --controls.quiet_; }
    GtkControls& controls;
  };

  GtkWidget* widget(int id) { return widgets_.at(id); }
  GtkWidget* makeControl(const ControlLayout& control, const DialogUnits& units);
  void command(int id) {
    if (quiet_ == 0 && !ended_) procedure_.command(*this, id);
  }

  static void onClicked(GtkWidget* widget, gpointer self);
  static void onToggled(GtkWidget* widget, gpointer self);
  static gboolean onChangeValue(GtkRange* range, GtkScrollType scroll, gdouble, gpointer self);
  static void onValueChanged(GtkRange* range, gpointer self);
  static gboolean onDelete(GtkWidget*, GdkEvent*, gpointer self);
  static gboolean onKey(GtkWidget*, GdkEventKey* event, gpointer self);

  DialogProcedure& procedure_;
  DialogPicture picture_;
  GtkWidget* window_ = nullptr;
  std::map<int, GtkWidget*> widgets_;
  std::map<GtkWidget*, int> ids_;
  GtkRadioButton* radioGroup_ = nullptr;
  int quiet_ = 0;
  bool ended_ = false;
  int result_ = C::Cancel;
  // How the user is moving a slider, from its change-value until its value-changed.
  bool moving_ = false;
  GtkScrollType scroll_ = GTK_SCROLL_NONE;
};

int idOf(GtkWidget* widget) {
  return GPOINTER_TO_INT(g_object_get_data(G_OBJECT(widget), "control-id"));
}

void GtkControls::onClicked(GtkWidget* widget, gpointer self) {
  static_cast<GtkControls*>(self)->command(idOf(widget));
}

void GtkControls::onToggled(GtkWidget* widget, gpointer self) {
  // A radio button that the user's click turned off is not the one clicked.
  if (GTK_IS_RADIO_BUTTON(widget) && !gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget)))
    return;
  static_cast<GtkControls*>(self)->command(idOf(widget));
}

gboolean GtkControls::onChangeValue(GtkRange*, GtkScrollType scroll, gdouble, gpointer self) {
  auto* controls = static_cast<GtkControls*>(self);
  controls->moving_ = true;
  controls->scroll_ = scroll;
  return FALSE;  // the slider moves itself
}

void GtkControls::onValueChanged(GtkRange*, gpointer self) {
  auto* controls = static_cast<GtkControls*>(self);
  if (!controls->moving_ || controls->quiet_ > 0 || controls->ended_) return;
  controls->moving_ = false;
  bool known = false;
  SliderMove move = moveOf(controls->scroll_, known);
  if (known) controls->procedure_.sliderMoved(*controls, move);
}

gboolean GtkControls::onDelete(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<GtkControls*>(self)->command(C::Cancel);
  return TRUE;  // the procedure decides whether the dialog ends
}

gboolean GtkControls::onKey(GtkWidget*, GdkEventKey* event, gpointer self) {
  if (event->keyval != GDK_KEY_Escape) return FALSE;
  static_cast<GtkControls*>(self)->command(C::Cancel);
  return TRUE;
}

GtkWidget* GtkControls::makeControl(const ControlLayout& control, const DialogUnits& units) {
  GtkWidget* w = nullptr;
  switch (control.kind) {
    case Kind::Button:
    case Kind::DefaultButton:
      w = gtk_button_new_with_label(control.caption);
      g_signal_connect(w, "clicked", G_CALLBACK(onClicked), this);
      if (control.kind == Kind::DefaultButton) {
        gtk_widget_set_can_default(w, TRUE);
        gtk_style_context_add_class(gtk_widget_get_style_context(w), "suggested-action");
      }
      break;
    case Kind::Group:
      w = gtk_frame_new(control.caption);
      break;
    case Kind::List:
      w = gtk_combo_box_text_new();
      break;
    case Kind::Check:
      w = gtk_check_button_new_with_label(control.caption);
      g_signal_connect(w, "toggled", G_CALLBACK(onToggled), this);
      break;
    case Kind::Radio:
      w = gtk_radio_button_new_with_label_from_widget(radioGroup_, control.caption);
      radioGroup_ = GTK_RADIO_BUTTON(w);
      g_signal_connect(w, "toggled", G_CALLBACK(onToggled), this);
      break;
    case Kind::Slider:
    case Kind::TickSlider: {
      w = gtk_scale_new_with_range(GTK_ORIENTATION_HORIZONTAL, 0, 100, 1);
      GtkScale* scale = GTK_SCALE(w);
      gtk_scale_set_draw_value(scale, FALSE);
      gtk_range_set_round_digits(GTK_RANGE(w), 0);
      if (control.kind == Kind::TickSlider) {
        for (int i = 0; i < 3; ++i) gtk_scale_add_mark(scale, i, GTK_POS_BOTTOM, detailLabels[i]);
      }
      g_signal_connect(w, "change-value", G_CALLBACK(onChangeValue), this);
      g_signal_connect(w, "value-changed", G_CALLBACK(onValueChanged), this);
      break;
    }
    case Kind::Text:
      w = gtk_label_new(control.caption);
      gtk_label_set_xalign(GTK_LABEL(w), 0.0f);
      gtk_widget_set_valign(w, GTK_ALIGN_CENTER);
      break;
    case Kind::Picture: {
      // The picture keeps its shape; the rest of its sunken box takes the colour of its
      // corner (its background), so the box reads as one panel.
      DialogRect box = units.toPixels(control.place);
      GtkWidget* image = gtk_image_new();
      int width = box.width - 2, height = box.height - 2;
      if (picture_.rgb != nullptr && picture_.width > 0 && picture_.height > 0 && width > 0 &&
          height > 0) {
        GdkPixbuf* pixbuf = pixbufOf(picture_);
        int fitWidth = width, fitHeight = height;
        if (fitWidth * picture_.height > fitHeight * picture_.width)
          fitWidth = fitHeight * picture_.width / picture_.height;
        else
          fitHeight = fitWidth * picture_.height / picture_.width;
        GdkPixbuf* panel = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
        const unsigned char* corner = picture_.rgb;
        gdk_pixbuf_fill(panel, (guint32(corner[0]) << 24) | (guint32(corner[1]) << 16) |
                                   (guint32(corner[2]) << 8) | 0xFF);
        gdk_pixbuf_scale(pixbuf, panel, (width - fitWidth) / 2, (height - fitHeight) / 2, fitWidth,
                         fitHeight, (width - fitWidth) / 2, (height - fitHeight) / 2,
                         double(fitWidth) / picture_.width, double(fitHeight) / picture_.height,
                         GDK_INTERP_BILINEAR);
        gtk_image_set_from_pixbuf(GTK_IMAGE(image), panel);
        g_object_unref(panel);
        g_object_unref(pixbuf);
      }
      w = gtk_frame_new(nullptr);
      gtk_frame_set_shadow_type(GTK_FRAME(w), GTK_SHADOW_IN);
      gtk_container_add(GTK_CONTAINER(w), image);
      break;
    }
  }
  if (control.id != 0) {
    g_object_set_data(G_OBJECT(w), "control-id", GINT_TO_POINTER(control.id));
    widgets_[control.id] = w;
  }
  return w;
}

int GtkControls::run(std::uint32_t owner) {
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* window = GTK_WINDOW(window_);
  gtk_window_set_title(window, "Plasmora Configuration");
  gtk_window_set_modal(window, TRUE);
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
  gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  g_signal_connect(window_, "delete-event", G_CALLBACK(onDelete), this);
  g_signal_connect(window_, "key-press-event", G_CALLBACK(onKey), this);

  GtkWidget* fixed = gtk_fixed_new();
  gtk_container_set_border_width(GTK_CONTAINER(window_), 8);
  gtk_container_add(GTK_CONTAINER(window_), fixed);
  DialogUnits units(fixed);
  for (const ControlLayout& control : controlLayouts) {
    GtkWidget* w = makeControl(control, units);
    placeControl(GTK_FIXED(fixed), w, units.toPixels(control.place));
  }
  gtk_widget_set_size_request(fixed, units.x(dialogWidth), units.y(dialogHeight));

  procedure_.initialise(*this);
  gtk_widget_grab_default(widget(C::Ok));
  gtk_widget_grab_focus(widget(C::Ok));
  gtk_widget_show_all(window_);
  setTransientForForeign(window_, owner);
  if (!ended_) gtk_main();
  gtk_widget_destroy(window_);
  while (gtk_events_pending()) gtk_main_iteration();
  return result_;
}

void GtkControls::showAbout(const std::string& text) {
  GtkWidget* about = gtk_dialog_new();
  gtk_window_set_title(GTK_WINDOW(about), "About");
  gtk_window_set_transient_for(GTK_WINDOW(about), GTK_WINDOW(window_));
  gtk_window_set_modal(GTK_WINDOW(about), TRUE);
  gtk_window_set_resizable(GTK_WINDOW(about), FALSE);
  gtk_window_set_position(GTK_WINDOW(about), GTK_WIN_POS_CENTER_ON_PARENT);
  gtk_container_set_border_width(GTK_CONTAINER(about), 8);
  GtkWidget* area = gtk_dialog_get_content_area(GTK_DIALOG(about));
  gtk_container_set_border_width(GTK_CONTAINER(area), 0);
  GtkWidget* fixed = gtk_fixed_new();
  gtk_box_pack_start(GTK_BOX(area), fixed, TRUE, TRUE, 0);
  DialogUnits units(fixed);

  // 151 x 101 dialog units: a group round the centred text, and OK below it.
  placeControl(GTK_FIXED(fixed), gtk_frame_new(nullptr), units.toPixels({5, 0, 142, 80}));
  GtkWidget* label = gtk_label_new(text.c_str());
  gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_CENTER);
  gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
  placeControl(GTK_FIXED(fixed), label, units.toPixels({10, 10, 134, 65}));
  GtkWidget* ok = gtk_button_new_with_label("OK");
  gtk_widget_set_can_default(ok, TRUE);
  placeControl(GTK_FIXED(fixed), ok, units.toPixels({52, 84, 48, 14}));
  g_signal_connect_swapped(
      ok, "clicked", G_CALLBACK(+[](GtkDialog* d) { gtk_dialog_response(d, GTK_RESPONSE_OK); }),
      about);
  gtk_widget_set_size_request(fixed, units.x(151), units.y(101));
  gtk_widget_show_all(about);
  gtk_widget_grab_default(ok);
  gtk_widget_grab_focus(ok);
  gtk_dialog_run(GTK_DIALOG(about));
  gtk_widget_destroy(about);
}

}  // namespace

int runConfigDialogWindow(std::uint32_t owner, DialogProcedure& procedure,
                          const DialogPicture& picture, std::span<const DialogPicture> icons) {
  if (!gtk_init_check(nullptr, nullptr)) return -1;
  // Every window of the process, the About box and messages included, carries the icon.
  GList* list = nullptr;
  for (const DialogPicture& icon : icons)
    if (icon.rgb != nullptr && icon.width > 0 && icon.height > 0)
      list = g_list_append(list, pixbufOf(icon));
  gtk_window_set_default_icon_list(list);
  g_list_free_full(list, g_object_unref);
  GtkControls controls(procedure, picture);
  return controls.run(owner);
}
