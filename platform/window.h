#pragma once
// Top-level windows of the saver and the messages they receive. Each window belongs to a
// class with a procedure; a class without one uses defaultWindowProcedure.
#include <cstdint>

using WindowHandle = std::uintptr_t;

enum class WindowMessageType {
  Create,  // sent by createWindow before it returns
  KeyDown,
  SystemKeyDown,  // a key with Alt held, Alt itself or F10
  LeftButtonDown,
  RightButtonDown,
  MiddleButtonDown,
  MouseWheel,
  MouseMove,  // x, y: the pointer, relative to the window's client area
  Close,      // the window manager asks the window to close
  Destroy,
  Quit,    // from postQuitMessage: the message loop ends
  Paint,   // part of the window was uncovered and shows its background until drawn again
  Hidden,  // the window was unmapped or is now wholly covered: nothing of it can be seen
  Shown,   // the window can be seen again, in part or whole
  Other,
};

struct WindowMessage {
  WindowHandle window = 0;
  WindowMessageType type = WindowMessageType::Other;
  int x = 0;
  int y = 0;
};

using WindowProcedure = long (*)(const WindowMessage& message);

// Registers a class by name; null procedure means defaultWindowProcedure. False if taken.
bool registerWindowClass(const char* name, WindowProcedure procedure);
void unregisterWindowClass(const char* name);

// A borderless window above all others at (x, y) of the desktop, black until drawn into.
// Returns 0 on failure (unknown class, no display).
WindowHandle createWindow(const char* className, const char* title, int x, int y, int width,
                          int height, bool visible);

// A window inside `parent`, which may belong to another program (the window a preview is
// drawn into), at (x, y) of the parent's client area. As the parent is resized the child takes
// the parent's new size less (x, y), so one made to cover the parent keeps covering it. Its
// class's procedure also gets Paint. It is destroyed with the parent. Returns 0 on failure
// (unknown class, no display, a parent that does not exist, an empty size).
WindowHandle createChildWindow(const char* className, const char* title, WindowHandle parent, int x,
                               int y, int width, int height, bool visible);

// Shows the window (showCommand 0 hides it).
void showWindow(WindowHandle window, int showCommand);
// Sends keyboard input to the window.
void setFocus(WindowHandle window);
// Takes the window off the screen for good.
void closeWindow(WindowHandle window);

// Size of the client area: right and bottom (left and top are 0). Works for another program's
// window too (a preview's parent). False for no window.
bool clientRect(WindowHandle window, int& right, int& bottom);
// Converts a client point to desktop coordinates in place.
void clientToScreen(WindowHandle window, int& x, int& y);

long defaultWindowProcedure(const WindowMessage& message);

// The program's icon, in the sizes the window manager may pick from: RGB8, rows top-down.
struct WindowIcon {
  int width;
  int height;
  const unsigned char* rgb;
};
// Every top-level window made from now on shows these icons (the pixels are copied); count 0
// for none.
void setWindowIcons(const WindowIcon* icons, int count);
