#include "platform/window.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/resources/resource_ids.h"
#include "platform/win32/win32_windows.h"

namespace {

struct WindowClass {
  std::string name;
  ATOM atom = 0;
  WindowProcedure procedure = nullptr;
};

std::vector<WindowClass>& classes() {
  static std::vector<WindowClass> table;
  return table;
}

// Class names compare without case, as Windows compares them.
WindowClass* findClass(const char* name) {
  for (WindowClass& c : classes())
    if (lstrcmpiA(c.name.c_str(), name) == 0) return &c;
  return nullptr;
}

// The message a class procedure is handling now, for defaultWindowProcedure.
struct RawMessage {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  WindowMessageType type;
};
const RawMessage* handling = nullptr;

// A window that closeWindow is destroying: as on X11, its procedure hears nothing more, so
// that the program's own close is not taken for the system ending the window.
HWND closing = nullptr;

// The window property holding a window's power-setting registration.
const char* const powerProperty = "PlasmoraPower";

// A child follows its parent's size (another program's window, which cannot tell us when it
// changes): it looks every quarter of a second.
constexpr UINT_PTR followParentTimer = 1;
constexpr UINT followParentMs = 250;

void followParent(HWND child) {
  HWND parent = GetParent(child);
  RECT area{};
  RECT own{};
  if (parent == nullptr || !GetClientRect(parent, &area) || !GetClientRect(child, &own)) return;
  POINT origin{0, 0};
  MapWindowPoints(child, parent, &origin, 1);
  const int width = std::max(1L, area.right - origin.x);
  const int height = std::max(1L, area.bottom - origin.y);
  if (width != own.right || height != own.bottom)
    SetWindowPos(child, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

bool beingClosed(HWND window) {
  return closing != nullptr && (window == closing || IsChild(closing, window));
}

// The window procedure of every class registered with a procedure.
LRESULT CALLBACK classWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // However the window ends, even unheard.
  if (message == WM_DESTROY) win32StopWatchingDisplayPower(RemovePropA(window, powerProperty));
  WindowProcedure procedure = win32WindowProcedure(window);
  if (procedure == nullptr || beingClosed(window))
    return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_SYSCOMMAND:
      // The windows have no system menu and cover the screen: no system command (the close of
      // Alt+F4, another screen saver's start, a window move) acts on them.
      return 0;
    case WM_POWERBROADCAST:
      win32PowerBroadcast(wParam, lParam);
      return TRUE;
    case WM_TIMER:
      if (wParam == followParentTimer) {
        followParent(window);
        return 0;
      }
      break;
    default:
      break;
  }
  const WindowMessage translated = win32Message(window, message, wParam, lParam);
  if (translated.type == WindowMessageType::Other)
    return DefWindowProcA(window, message, wParam, lParam);

  const RawMessage raw{window, message, wParam, lParam, translated.type};
  const RawMessage* outer = handling;
  handling = &raw;
  // The background is put back and the window counts as drawn before the procedure paints
  // over it (with a device context of its own).
  PAINTSTRUCT paint{};
  const bool painting = message == WM_PAINT && BeginPaint(window, &paint) != nullptr;
  const long result = procedure(translated);
  if (painting) EndPaint(window, &paint);
  handling = outer;
  // A window whose procedure refuses its creation is destroyed at once, unheard, as closeWindow
  // destroys one.
  if (message == WM_CREATE && result == -1) closing = window;
  // Top-level windows that draw hear when the display is powered down.
  if (message == WM_CREATE && result != -1 && GetParent(window) == nullptr)
    SetPropA(window, powerProperty, win32WatchDisplayPower(window));
  return result;
}

HWND create(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
            int width, int height, HWND parent) {
  if (className == nullptr || findClass(className) == nullptr || width <= 0 || height <= 0)
    return nullptr;
  HWND outer = closing;
  HWND window = CreateWindowExA(exStyle, className, title != nullptr ? title : "", style, x, y,
                                width, height, parent, nullptr, win32Instance(), nullptr);
  closing = outer;
  return window;
}

}  // namespace

HINSTANCE win32Instance() { return GetModuleHandleA(nullptr); }

bool win32OwnWindow(HWND window) {
  DWORD process = 0;
  return window != nullptr && GetWindowThreadProcessId(window, &process) != 0 &&
         process == GetCurrentProcessId();
}

WindowProcedure win32WindowProcedure(HWND window) {
  const ATOM atom = static_cast<ATOM>(GetClassLongPtrA(window, GCW_ATOM));
  if (atom == 0) return nullptr;
  for (const WindowClass& c : classes())
    if (c.atom == atom) return c.procedure;
  return nullptr;
}

WindowMessage win32Message(HWND window, UINT message, WPARAM, LPARAM lParam) {
  WindowMessage result;
  result.window = reinterpret_cast<WindowHandle>(window);
  switch (message) {
    case WM_CREATE:
      result.type = WindowMessageType::Create;
      break;
    case WM_KEYDOWN:
      result.type = WindowMessageType::KeyDown;
      break;
    case WM_SYSKEYDOWN:
      result.type = WindowMessageType::SystemKeyDown;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEMOVE:
      result.type = message == WM_LBUTTONDOWN   ? WindowMessageType::LeftButtonDown
                    : message == WM_RBUTTONDOWN ? WindowMessageType::RightButtonDown
                    : message == WM_MBUTTONDOWN ? WindowMessageType::MiddleButtonDown
                                                : WindowMessageType::MouseMove;
      // Signed: a window holding the mouse capture hears of points left of or above it.
      result.x = GET_X_LPARAM(lParam);
      result.y = GET_Y_LPARAM(lParam);
      break;
    case WM_MOUSEWHEEL: {
      // The wheel gives a desktop position.
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ScreenToClient(window, &point);
      result.type = WindowMessageType::MouseWheel;
      result.x = point.x;
      result.y = point.y;
      break;
    }
    case WM_CLOSE:
      result.type = WindowMessageType::Close;
      break;
    case WM_DESTROY:
      result.type = WindowMessageType::Destroy;
      break;
    case WM_PAINT:
      result.type = WindowMessageType::Paint;
      break;
    case WM_QUIT:
      result.type = WindowMessageType::Quit;
      break;
    default:
      result.type = WindowMessageType::Other;
      break;
  }
  return result;
}

bool registerWindowClass(const char* name, WindowProcedure procedure) {
  if (name == nullptr || findClass(name) != nullptr) return false;
  WNDCLASSEXA description{};
  description.cbSize = sizeof description;
  // Every class keeps one device context for its windows' lives, as an OpenGL context drawing
  // into it needs: with the show on every monitor a blanking window is drawn into too.
  description.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  description.lpfnWndProc = procedure != nullptr ? classWindowProc : DefWindowProcA;
  description.hInstance = win32Instance();
  description.hIcon = LoadIconA(win32Instance(), MAKEINTRESOURCEA(IDI_PLASMORA));
  description.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  description.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  description.lpszClassName = name;
  const ATOM atom = RegisterClassExA(&description);
  if (atom == 0) return false;
  classes().push_back(WindowClass{name, atom, procedure});
  return true;
}

void unregisterWindowClass(const char* name) {
  if (name == nullptr) return;
  // A class some window still uses stays, with its procedure.
  if (findClass(name) == nullptr || !UnregisterClassA(name, win32Instance())) return;
  auto& table = classes();
  table.erase(
      std::remove_if(table.begin(), table.end(),
                     [&](const WindowClass& c) { return lstrcmpiA(c.name.c_str(), name) == 0; }),
      table.end());
}

WindowHandle createWindow(const char* className, const char* title, int x, int y, int width,
                          int height, bool visible) {
  const DWORD style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0);
  return reinterpret_cast<WindowHandle>(create(WS_EX_TOPMOST | WS_EX_APPWINDOW, className, title,
                                               style, x, y, width, height, nullptr));
}

WindowHandle createChildWindow(const char* className, const char* title, WindowHandle parent, int x,
                               int y, int width, int height, bool visible) {
  HWND parentWindow = reinterpret_cast<HWND>(parent);
  if (parent == 0 || !IsWindow(parentWindow)) return 0;
  HWND window = create(0, className, title, WS_CHILD | (visible ? WS_VISIBLE : 0), x, y, width,
                       height, parentWindow);
  if (window != nullptr) SetTimer(window, followParentTimer, followParentMs, nullptr);
  return reinterpret_cast<WindowHandle>(window);
}

void showWindow(WindowHandle window, int showCommand) {
  HWND handle = reinterpret_cast<HWND>(window);
  if (win32OwnWindow(handle)) ShowWindow(handle, showCommand);
}

void setFocus(WindowHandle window) {
  HWND handle = reinterpret_cast<HWND>(window);
  if (!win32OwnWindow(handle)) return;
  // The keys that end a run must reach the window even when another program was in front.
  SetForegroundWindow(handle);
  SetFocus(handle);
}

void closeWindow(WindowHandle window) {
  HWND handle = reinterpret_cast<HWND>(window);
  if (!win32OwnWindow(handle)) return;
  HWND outer = closing;
  closing = handle;
  DestroyWindow(handle);
  closing = outer;
}

bool clientRect(WindowHandle window, int& right, int& bottom) {
  RECT area{};
  if (window == 0 || !GetClientRect(reinterpret_cast<HWND>(window), &area)) return false;
  right = area.right;
  bottom = area.bottom;
  return true;
}

void clientToScreen(WindowHandle window, int& x, int& y) {
  POINT point{x, y};
  if (window == 0 || !ClientToScreen(reinterpret_cast<HWND>(window), &point)) return;
  x = point.x;
  y = point.y;
}

long defaultWindowProcedure(const WindowMessage& message) {
  // The system's handling for the message being handled now; a message the program made up
  // itself has none.
  if (handling == nullptr || reinterpret_cast<WindowHandle>(handling->window) != message.window ||
      handling->type != message.type)
    return 0;
  return static_cast<long>(
      DefWindowProcA(handling->window, handling->message, handling->wParam, handling->lParam));
}

// Windows takes the program's icon from its resources (icon 111, given to every class), in
// every size the icon file holds; the pictures passed here are not needed.
void setWindowIcons(const WindowIcon*, int) {}
