// The configuration dialog on Windows: dialog resource 101 run modally, its messages handed
// to the procedure, its controls read and set with their own messages.
//
// - The owner is the window the command line named when that is a window; a handle that names
//   none (stale, or mistyped) shows the dialog without owner rather than not at all.
// - The picture box shows `picture` fitted to the box (its shape kept, the rest of the box in
//   the picture's corner colour), so it fills the box at any DPI; without pixels the box keeps
//   bitmap 107 of the resources.
// - The window's icons are icon 111 of the resources, or else made from `icons`.
// - A list item is selected only by its exact text (CB_SELECTSTRING would take the first item
//   that merely begins with it, and any item for an empty text).
#include "platform/config_dialog_window.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <vector>

#include "platform/win32/resources/resource_ids.h"
#include "platform/win32/rgb_dib.h"

namespace {

namespace C = ConfigControl;

static_assert(IDOK == C::Ok && IDCANCEL == C::Cancel && IDC_MODE_LIST == C::ModeList &&
                  IDC_USE_DESKTOP == C::UseDesktop && IDC_ENABLE_MUSIC == C::EnableMusic &&
                  IDC_SHOW_TIME == C::ShowTime && IDC_RESTORE_DEFAULTS == C::RestoreDefaults &&
                  IDC_ABOUT == C::About && IDC_MOUSE_EXIT == C::MouseExit &&
                  IDC_VOLUME_LABEL == C::VolumeLabel && IDC_VOLUME_SLIDER == C::VolumeSlider &&
                  IDC_SHOW_FPS == C::ShowFps && IDC_VSYNC == C::VSync &&
                  IDC_GAMMA_SLIDER == C::GammaSlider && IDC_GAMMA_LABEL == C::GammaLabel &&
                  IDC_DEFAULT_GAMMA == C::DefaultGamma && IDC_DETAIL_SLIDER == C::DetailSlider &&
                  IDC_CLOCK_24 == C::Clock24 && IDC_CLOCK_12 == C::Clock12 &&
                  IDC_MONITORS_LIST == C::MonitorsList && IDC_FRAME_LIMIT_LIST == C::FrameLimitList,
              "the resource's control ids are the dialog's");

// Posted to the dialog after the system has laid it out anew for another DPI.
constexpr UINT kRefitPicture = WM_APP + 1;

HINSTANCE programInstance() { return GetModuleHandleA(nullptr); }

// Window handles are 32-bit values that widen by sign extension.
HWND ownerWindow(std::uint32_t owner) {
  if (owner == 0) return nullptr;
  HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<std::int32_t>(owner)));
  return IsWindow(window) ? window : nullptr;
}

bool sliderMoveOf(WORD code, SliderMove& move) {
  switch (code) {
    case TB_LINEUP:
      move = SliderMove::LineUp;
      return true;
    case TB_LINEDOWN:
      move = SliderMove::LineDown;
      return true;
    case TB_PAGEUP:
      move = SliderMove::PageUp;
      return true;
    case TB_PAGEDOWN:
      move = SliderMove::PageDown;
      return true;
    case TB_THUMBTRACK:
      move = SliderMove::ThumbTrack;
      return true;
    case TB_TOP:
      move = SliderMove::Top;
      return true;
    case TB_BOTTOM:
      move = SliderMove::Bottom;
      return true;
    default:  // the thumb's final position and the end of tracking follow a move already told
      return false;
  }
}

bool usable(const DialogPicture& p) {
  return p.rgb != nullptr && p.width > 0 && p.height > 0 && p.width <= kMaxDibSide &&
         p.height <= kMaxDibSide;
}

// `picture` scaled to fit `width` x `height` with its shape kept, centred on its corner colour.
HBITMAP fittedBitmap(const DialogPicture& picture, int width, int height) {
  RgbDib source;
  if (!makeRgbDib(picture.width, picture.height, picture.rgb, source)) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  HDC memory = CreateCompatibleDC(nullptr);
  if (memory == nullptr) {
    DeleteObject(bitmap);
    return nullptr;
  }
  HGDIOBJ previous = SelectObject(memory, bitmap);
  HBRUSH corner = CreateSolidBrush(RGB(picture.rgb[0], picture.rgb[1], picture.rgb[2]));
  RECT all{0, 0, width, height};
  FillRect(memory, &all, corner);
  DeleteObject(corner);
  int fitWidth = width, fitHeight = height;
  if (fitWidth * picture.height > fitHeight * picture.width)
    fitWidth = fitHeight * picture.width / picture.height;
  else
    fitHeight = fitWidth * picture.height / picture.width;
  // Halftone averages the pixels a reduction drops; it needs the brush origin set.
  SetStretchBltMode(memory, HALFTONE);
  SetBrushOrgEx(memory, 0, 0, nullptr);
  StretchDIBits(memory, (width - fitWidth) / 2, (height - fitHeight) / 2, fitWidth, fitHeight, 0, 0,
                picture.width, picture.height, source.bits.data(), &source.info, DIB_RGB_COLORS,
                SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
  return bitmap;
}

// An icon of `size` pixels from the nearest picture at least that large (else the largest).
HICON iconFromPictures(std::span<const DialogPicture> icons, int size) {
  const DialogPicture* best = nullptr;
  for (const DialogPicture& icon : icons) {
    if (!usable(icon)) continue;
    const bool bigEnough = icon.width >= size;
    if (best == nullptr || (bigEnough && (best->width < size || icon.width < best->width)) ||
        (!bigEnough && best->width < size && icon.width > best->width))
      best = &icon;
  }
  if (best == nullptr) return nullptr;
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof header;
  header.bV5Width = best->width;
  header.bV5Height = -best->height;
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_RGB;
  void* bits = nullptr;
  HBITMAP colour = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  if (colour == nullptr) return nullptr;
  auto* bgra = static_cast<unsigned char*>(bits);
  const std::size_t pixels = std::size_t(best->width) * std::size_t(best->height);
  for (std::size_t i = 0; i < pixels; ++i) {
    bgra[i * 4] = best->rgb[i * 3 + 2];
    bgra[i * 4 + 1] = best->rgb[i * 3 + 1];
    bgra[i * 4 + 2] = best->rgb[i * 3];
    bgra[i * 4 + 3] = 0xFF;
  }
  std::vector<unsigned char> clear((std::size_t(best->width) + 15) / 16 * 2 * best->height, 0);
  HBITMAP mask = CreateBitmap(best->width, best->height, 1, 1, clear.data());
  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = mask != nullptr ? CreateIconIndirect(&info) : nullptr;
  if (mask != nullptr) DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}

// The About box: its text, and OK (or Escape, or the close button) ends it.
INT_PTR CALLBACK aboutProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      // A static control breaks lines at CR LF.
      std::string text;
      for (const char* c = reinterpret_cast<const char*>(lParam); *c != '\0'; ++c) {
        if (*c == '\n') text += '\r';
        text += *c;
      }
      SetDlgItemTextA(box, IDC_ABOUT_TEXT, text.c_str());
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(box, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

class Win32Controls : public DialogControls {
 public:
  Win32Controls(DialogProcedure& procedure, const DialogPicture& picture,
                std::span<const DialogPicture> icons)
      : procedure_(procedure), picture_(picture), icons_(icons) {}
  ~Win32Controls() override {
    for (HICON icon : madeIcons_) DestroyIcon(icon);
    if (fitted_ != nullptr) DeleteObject(fitted_);
  }

  int run(std::uint32_t owner);

  void addListItem(int id, const std::string& text) override {
    SendDlgItemMessageA(dialog_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  void selectListItem(int id, const std::string& text) override {
    LRESULT index = text.empty() ? CB_ERR
                                 : SendDlgItemMessageA(dialog_, id, CB_FINDSTRINGEXACT, WPARAM(-1),
                                                       reinterpret_cast<LPARAM>(text.c_str()));
    // CB_FINDSTRINGEXACT ignores case; the list's texts differ in more than case.
    SendDlgItemMessageA(dialog_, id, CB_SETCURSEL, index == CB_ERR ? WPARAM(-1) : WPARAM(index), 0);
  }
  std::string selectedListItem(int id) override {
    LRESULT index = SendDlgItemMessageA(dialog_, id, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return {};
    LRESULT length = SendDlgItemMessageA(dialog_, id, CB_GETLBTEXTLEN, WPARAM(index), 0);
    if (length == CB_ERR || length <= 0) return {};
    std::string text(std::size_t(length) + 1, '\0');
    LRESULT copied = SendDlgItemMessageA(dialog_, id, CB_GETLBTEXT, WPARAM(index),
                                         reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR || copied < 0 ? 0 : std::size_t(copied));
    return text;
  }
  void setChecked(int id, bool checked) override {
    CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
  }
  bool isChecked(int id) override { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
  void setEnabled(int id, bool enabled) override {
    EnableWindow(GetDlgItem(dialog_, id), enabled ? TRUE : FALSE);
  }
  void setText(int id, const std::string& text) override {
    SetDlgItemTextA(dialog_, id, text.c_str());
  }
  void setSliderRange(int id, int minimum, int maximum, int page) override {
    SendDlgItemMessageA(dialog_, id, TBM_SETRANGEMIN, FALSE, minimum);
    SendDlgItemMessageA(dialog_, id, TBM_SETRANGEMAX, TRUE, maximum);
    SendDlgItemMessageA(dialog_, id, TBM_SETPAGESIZE, 0, page);
  }
  void setSliderPosition(int id, int position) override {
    SendDlgItemMessageA(dialog_, id, TBM_SETPOS, TRUE, position);
  }
  int sliderPosition(int id) override {
    return static_cast<int>(SendDlgItemMessageA(dialog_, id, TBM_GETPOS, 0, 0));
  }
  void showAbout(const std::string& text) override {
    DialogBoxParamA(programInstance(), MAKEINTRESOURCEA(IDD_ABOUT), dialog_, aboutProcedure,
                    reinterpret_cast<LPARAM>(text.c_str()));
  }
  void showMessage(const std::string& text, const std::string& caption) override {
    MessageBoxA(dialog_, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
  }
  void endDialog(int result) override {
    if (ended_) return;
    ended_ = true;
    result_ = result;
    EndDialog(dialog_, result);
  }

 private:
  static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void showIcons();
  void showPicture();

  DialogProcedure& procedure_;
  DialogPicture picture_;
  std::span<const DialogPicture> icons_;
  HWND dialog_ = nullptr;
  HBITMAP fitted_ = nullptr;
  std::vector<HICON> madeIcons_;
  bool ended_ = false;
  int result_ = C::Cancel;
};

void Win32Controls::showIcons() {
  const struct {
    WPARAM which;
    int width, height;
  } kinds[] = {{ICON_BIG, SM_CXICON, SM_CYICON}, {ICON_SMALL, SM_CXSMICON, SM_CYSMICON}};
  for (const auto& kind : kinds) {
    const int width = GetSystemMetrics(kind.width), height = GetSystemMetrics(kind.height);
    HICON icon = static_cast<HICON>(LoadImageA(programInstance(), MAKEINTRESOURCEA(IDI_PLASMORA),
                                               IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
    if (icon == nullptr) icon = iconFromPictures(icons_, width);
    if (icon == nullptr) continue;
    madeIcons_.push_back(icon);
    SendMessageA(dialog_, WM_SETICON, kind.which, reinterpret_cast<LPARAM>(icon));
  }
}

void Win32Controls::showPicture() {
  HWND box = GetDlgItem(dialog_, IDC_PICTURE);
  RECT client{};
  if (box == nullptr || !usable(picture_) || !GetClientRect(box, &client) || client.right <= 0 ||
      client.bottom <= 0)
    return;
  HBITMAP fitted = fittedBitmap(picture_, client.right, client.bottom);
  if (fitted == nullptr) return;
  // The bitmap shown before is handed back and is ours to delete: the one the box loaded
  // from the resources, or our previous fit.
  HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(
      SendMessageA(box, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(fitted)));
  if (previous != nullptr && previous != fitted) DeleteObject(previous);
  fitted_ = fitted;
}

INT_PTR CALLBACK Win32Controls::procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Win32Controls*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    self->dialog_ = dialog;
    self->showIcons();
    self->showPicture();
    self->procedure_.initialise(*self);
    return TRUE;  // the focus goes to the first control, OK
  }
  auto* self = reinterpret_cast<Win32Controls*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (self == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      // Clicks only: the list's own notifications are not commands of the dialog.
      if (HIWORD(wParam) != BN_CLICKED) return FALSE;
      if (self->ended_) return TRUE;
      return self->procedure_.command(*self, LOWORD(wParam)) ? TRUE : FALSE;
    case WM_HSCROLL: {
      SliderMove move;
      if (!self->ended_ && sliderMoveOf(LOWORD(wParam), move))
        self->procedure_.sliderMoved(*self, move);
      return TRUE;
    }
    case WM_DPICHANGED:
      PostMessageA(dialog, kRefitPicture, 0, 0);
      return FALSE;  // the system scales the dialog
    case kRefitPicture:
      self->showPicture();
      return TRUE;
    case WM_CLOSE:
      if (!self->ended_) self->procedure_.command(*self, C::Cancel);
      return TRUE;
    default:
      return FALSE;
  }
}

int Win32Controls::run(std::uint32_t owner) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);
  INT_PTR result = DialogBoxParamA(programInstance(), MAKEINTRESOURCEA(IDD_CONFIG),
                                   ownerWindow(owner), procedure, reinterpret_cast<LPARAM>(this));
  if (ended_) return result_;
  return result == -1 ? -1 : C::Cancel;
}

}  // namespace

int runConfigDialogWindow(std::uint32_t owner, DialogProcedure& procedure,
                          const DialogPicture& picture, std::span<const DialogPicture> icons) {
  Win32Controls controls(procedure, picture, icons);
  return controls.run(owner);
}
