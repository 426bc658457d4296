#include "platform/hack_window.h"

#include <X11/Xutil.h>

#include "platform/x11/window_icon.h"
#include "platform/x11/x11_connection.h"

WindowHandle rootWindow() {
  Display* display = x11Display();
  return display != nullptr ? DefaultRootWindow(display) : 0;
}

WindowHandle createOrdinaryWindow(const char* title, int width, int height) {
  Display* display = x11Display();
  if (display == nullptr || width <= 0 || height <= 0) return 0;
  XSetWindowAttributes attributes{};
  attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
  attributes.event_mask = StructureNotifyMask;
  x11ClearErrors();
  Window window =
      XCreateWindow(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(width),
                    static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                    CWBackPixel | CWEventMask, &attributes);
  if (window == 0 || x11ErrorsSince()) return 0;
  XStoreName(display, window, title);
  XClassHint hint{const_cast<char*>("plasmora"), const_cast<char*>("Plasmora")};
  XSetClassHint(display, window, &hint);
  Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, window, &deleteWindow, 1);
  applyWindowIcon(display, window);
  XMapWindow(display, window);
  XSync(display, False);
  return window;
}

void destroyOrdinaryWindow(WindowHandle window) {
  Display* display = x11Display();
  if (display == nullptr || window == 0) return;
  XDestroyWindow(display, window);
  XSync(display, False);
}
