#include "platform/window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <map>
#include <string>

#include "platform/x11/window_icon.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_windows.h"

namespace {

// The window holding the keyboard for a run; 0 when none does.
Window keyboardGrabWindow = 0;
bool keyboardGrabSuspended = false;

struct WindowClass {
  WindowProcedure procedure = nullptr;
};

std::map<std::string, WindowClass>& classes() {
  static std::map<std::string, WindowClass> table;
  return table;
}

}  // namespace

bool registerWindowClass(const char* name, WindowProcedure procedure) {
  return classes().emplace(name, WindowClass{procedure}).second;
}

void unregisterWindowClass(const char* name) { classes().erase(name); }

// A top-level window when parent is 0, else a child of parent.
static WindowHandle createIn(Window parent, const char* className, const char* title, int x, int y,
                             int width, int height, bool visible);

WindowHandle createWindow(const char* className, const char* title, int x, int y, int width,
                          int height, bool visible) {
  return createIn(0, className, title, x, y, width, height, visible);
}

WindowHandle createChildWindow(const char* className, const char* title, WindowHandle parent, int x,
                               int y, int width, int height, bool visible) {
  if (parent == 0) return 0;
  return createIn(parent, className, title, x, y, width, height, visible);
}

static WindowHandle createIn(Window parent, const char* className, const char* title, int x, int y,
                             int width, int height, bool visible) {
  Display* display = x11Display();
  auto found = classes().find(className);
  if (display == nullptr || found == classes().end() || width <= 0 || height <= 0) return 0;
  WindowProcedure procedure = found->second.procedure;

  XSetWindowAttributes attributes{};
  // Above everything, placed exactly: no window manager gets to frame or move it.
  attributes.override_redirect = True;
  attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
  // Windows of the default procedure take no input, as they would ignore it; nor do they
  // pass it on, so a click on a black monitor never reaches a desktop's root window.
  constexpr long inputMask =
      KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
  attributes.event_mask = procedure != nullptr ? KeyPressMask | ButtonPressMask |
                                                     PointerMotionMask | StructureNotifyMask
                                               : NoEventMask;
  // A child is drawn by its procedure, again whenever it is uncovered; while wholly covered
  // it need not be drawn at all.
  if (parent != 0 && procedure != nullptr)
    attributes.event_mask |= ExposureMask | VisibilityChangeMask;
  attributes.do_not_propagate_mask = procedure != nullptr ? NoEventMask : inputMask;
  x11ClearErrors();
  Window window =
      XCreateWindow(display, parent != 0 ? parent : DefaultRootWindow(display), x, y,
                    static_cast<unsigned>(width), static_cast<unsigned>(height), 0, CopyFromParent,
                    InputOutput, CopyFromParent,
                    CWOverrideRedirect | CWBackPixel | CWEventMask | CWDontPropagate, &attributes);
  if (window == 0 || x11ErrorsSince()) return 0;
  if (parent != 0) {
    // Hear of the parent's resizing (message_queue.cpp follows it), keeping what this
    // process already asked of the parent should it be one of ours.
    XWindowAttributes watched{};
    XGetWindowAttributes(display, parent, &watched);
    XSelectInput(display, parent, watched.your_event_mask | StructureNotifyMask);
  } else {
    applyWindowIcon(display, window);
  }
  XStoreName(display, window, title);
  XClassHint hint{const_cast<char*>("plasmora"), const_cast<char*>("Plasmora")};
  XSetClassHint(display, window, &hint);
  Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, window, &deleteWindow, 1);

  X11Window record;
  record.window = window;
  record.procedure = procedure;
  record.x = x;
  record.y = y;
  record.width = width;
  record.height = height;
  record.parent = parent;
  addX11Window(record);

  WindowMessage create;
  create.window = window;
  create.type = WindowMessageType::Create;
  if (procedure != nullptr && procedure(create) == -1) {
    closeWindow(window);
    return 0;
  }
  if (visible) showWindow(window, 1);
  XFlush(display);
  return window;
}

void showWindow(WindowHandle handle, int showCommand) {
  Display* display = x11Display();
  if (display == nullptr || findX11Window(handle) == nullptr) return;
  if (showCommand == 0)
    XUnmapWindow(display, handle);
  else
    XMapRaised(display, handle);
  XFlush(display);
}

void setFocus(WindowHandle handle) {
  Display* display = x11Display();
  if (display == nullptr || findX11Window(handle) == nullptr) return;
  // An override-redirect window gets no focus from a window manager: take it, and hold the
  // keyboard so that no other client's shortcuts see the keys that should end the run.
  XSetInputFocus(display, handle, RevertToParent, CurrentTime);
  XGrabKeyboard(display, handle, False, GrabModeAsync, GrabModeAsync, CurrentTime);
  keyboardGrabWindow = handle;
  XFlush(display);
}

void x11SuspendKeyboardGrab() {
  Display* display = x11Display();
  if (display == nullptr || keyboardGrabWindow == 0 || keyboardGrabSuspended) return;
  XUngrabKeyboard(display, CurrentTime);
  XSync(display, False);
  keyboardGrabSuspended = true;
}

void x11ResumeKeyboardGrab() {
  Display* display = x11Display();
  if (display == nullptr || !keyboardGrabSuspended) return;
  keyboardGrabSuspended = false;
  if (findX11Window(keyboardGrabWindow) == nullptr) return;
  XSetInputFocus(display, keyboardGrabWindow, RevertToParent, CurrentTime);
  XGrabKeyboard(display, keyboardGrabWindow, False, GrabModeAsync, GrabModeAsync, CurrentTime);
  XFlush(display);
}

void closeWindow(WindowHandle handle) {
  Display* display = x11Display();
  if (findX11Window(handle) == nullptr) return;
  XDestroyWindow(display, handle);
  XSync(display, False);
  removeX11Window(handle);
  if (handle == keyboardGrabWindow) keyboardGrabWindow = 0;
}

bool clientRect(WindowHandle handle, int& right, int& bottom) {
  const X11Window* w = findX11Window(handle);
  if (w == nullptr) {
    // Another program's window: ask the server, which refuses a handle that names nothing.
    Display* display = x11Display();
    if (display == nullptr || handle == 0) return false;
    x11ClearErrors();
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, handle, &attributes) || x11ErrorsSince()) return false;
    right = attributes.width;
    bottom = attributes.height;
    return true;
  }
  right = w->width;
  bottom = w->height;
  return true;
}

void clientToScreen(WindowHandle handle, int& x, int& y) {
  if (const X11Window* w = findX11Window(handle)) {
    x += w->x;
    y += w->y;
  }
}

long defaultWindowProcedure(const WindowMessage&) { return 0; }
