#pragma once
// A private Xvfb server for end-to-end tests of the saver, and the few things the tests ask
// of it: input through xdotool, window and pixel queries, the cursor and the screen size.
#include <X11/Xlib.h>

#include <sys/types.h>
#include <cstdint>
#include <string>
#include <vector>

class XServer {
 public:
  // Starts Xvfb (1280x1024, white root) and connects to it; ok() tells whether it worked.
  XServer();
  ~XServer();
  bool ok() const { return display_ != nullptr; }
  Display* display() const { return display_; }
  const std::string& name() const { return name_; }

  // Runs a command with DISPLAY set to this server; true when it exits with status 0.
  bool run(const std::string& command) const;

 private:
  pid_t server_ = -1;
  std::string name_;
  Display* display_ = nullptr;
};

// Whether a program of that name is on PATH.
bool haveProgram(const char* program);

struct WindowInfo {
  Window window = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool viewable = false;
  std::vector<Window> children;
};

// The viewable top-level windows titled `title`, in stacking order.
std::vector<WindowInfo> windowsTitled(Display* display, const char* title);

// Whether every pixel of the root window in the rectangle is black.
bool rootAreaIsBlack(Display* display, int x, int y, int width, int height);

// The root window's pixels in the rectangle, RGB rows top-down; empty when unreadable.
std::vector<std::uint8_t> rootPixels(Display* display, int x, int y, int width, int height);

// Whether the cursor the server shows now has no visible pixel.
bool cursorIsBlank(Display* display);

void pointerPosition(Display* display, int& x, int& y);
// The root window's size as "WxH", and a window's place as "WxH+X+Y".
std::string rootSize(Display* display);
std::string geometry(const WindowInfo& window);

// The gamma ramp of the first CRTC; false without one.
bool primaryGammaRamp(Display* display, std::vector<std::uint16_t>& red,
                      std::vector<std::uint16_t>& green, std::vector<std::uint16_t>& blue);

// Whether the window's visual can carry a double-buffered OpenGL context.
bool windowCanRenderGl(Display* display, Window window);
