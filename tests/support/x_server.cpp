#include "tests/support/x_server.h"

#include <GL/glx.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/Xrandr.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>

bool haveProgram(const char* program) {
  std::string command = std::string("command -v ") + program + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

XServer::XServer() {
  int fds[2];
  if (pipe(fds) != 0) return;
  server_ = fork();
  if (server_ == 0) {
    close(fds[0]);
    std::string fd = std::to_string(fds[1]);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-noreset", "-nolisten", "tcp", "-wr",
           "-screen", "0", "1280x1024x24", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  // Xvfb writes its display number once it accepts connections.
  char buffer[32] = {};
  std::size_t got = 0;
  while (got < sizeof buffer - 1) {
    ssize_t n = read(fds[0], buffer + got, sizeof buffer - 1 - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
    if (std::memchr(buffer, '\n', got) != nullptr) break;
  }
  close(fds[0]);
  if (got == 0) return;
  name_ = ":" + std::string(buffer, std::strcspn(buffer, "\n"));
  setenv("DISPLAY", name_.c_str(), 1);
  display_ = XOpenDisplay(name_.c_str());
}

XServer::~XServer() {
  if (display_ != nullptr) XCloseDisplay(display_);
  if (server_ > 0) {
    kill(server_, SIGTERM);
    waitpid(server_, nullptr, 0);
  }
}

bool XServer::run(const std::string& command) const {
  std::string full = "DISPLAY=" + name_ + " " + command + " >/dev/null 2>&1";
  return std::system(full.c_str()) == 0;
}

std::vector<WindowInfo> windowsTitled(Display* display, const char* title) {
  std::vector<WindowInfo> found;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
    return found;
  for (unsigned i = 0; i < count; ++i) {
    char* name = nullptr;
    bool match =
        XFetchName(display, children[i], &name) && name != nullptr && std::strcmp(name, title) == 0;
    if (name != nullptr) XFree(name);
    XWindowAttributes attributes;
    if (!match || !XGetWindowAttributes(display, children[i], &attributes)) continue;
    WindowInfo info;
    info.window = children[i];
    info.x = attributes.x;
    info.y = attributes.y;
    info.width = attributes.width;
    info.height = attributes.height;
    info.viewable = attributes.map_state == IsViewable;
    Window* inner = nullptr;
    unsigned innerCount = 0;
    if (XQueryTree(display, children[i], &root, &parent, &inner, &innerCount)) {
      info.children.assign(inner, inner + innerCount);
      if (inner != nullptr) XFree(inner);
    }
    if (info.viewable) found.push_back(info);
  }
  if (children != nullptr) XFree(children);
  return found;
}

bool rootAreaIsBlack(Display* display, int x, int y, int width, int height) {
  XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (image == nullptr) return false;
  bool black = true;
  for (int j = 0; j < height && black; ++j)
    for (int i = 0; i < width && black; ++i)
      if ((XGetPixel(image, i, j) & 0xFFFFFF) != 0) black = false;
  XDestroyImage(image);
  return black;
}

std::vector<std::uint8_t> rootPixels(Display* display, int x, int y, int width, int height) {
  std::vector<std::uint8_t> rgb;
  XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (image == nullptr) return rgb;
  rgb.reserve(static_cast<std::size_t>(width) * height * 3);
  for (int j = 0; j < height; ++j)
    for (int i = 0; i < width; ++i) {
      unsigned long pixel = XGetPixel(image, i, j);
      rgb.push_back(static_cast<std::uint8_t>(pixel >> 16));
      rgb.push_back(static_cast<std::uint8_t>(pixel >> 8));
      rgb.push_back(static_cast<std::uint8_t>(pixel));
    }
  XDestroyImage(image);
  return rgb;
}

bool cursorIsBlank(Display* display) {
  XFixesCursorImage* image = XFixesGetCursorImage(display);
  if (image == nullptr) return false;
  bool blank = true;
  for (int i = 0; i < image->width * image->height; ++i)
    if ((image->pixels[i] >> 24) != 0) blank = false;
  XFree(image);
  return blank;
}

void pointerPosition(Display* display, int& x, int& y) {
  Window root = 0, child = 0;
  int wx = 0, wy = 0;
  unsigned mask = 0;
  XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &wx, &wy, &mask);
}

std::string rootSize(Display* display) {
  Window root = 0;
  int x = 0, y = 0;
  unsigned w = 0, h = 0, border = 0, depth = 0;
  XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &w, &h, &border, &depth);
  return std::to_string(w) + "x" + std::to_string(h);
}

std::string geometry(const WindowInfo& w) {
  return std::to_string(w.width) + "x" + std::to_string(w.height) + "+" + std::to_string(w.x) +
         "+" + std::to_string(w.y);
}

bool windowCanRenderGl(Display* display, Window window) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return false;
  XVisualInfo wanted{};
  wanted.visualid = XVisualIDFromVisual(attributes.visual);
  int count = 0;
  XVisualInfo* info = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
  if (info == nullptr) return false;
  int useGl = 0, doubleBuffer = 0;
  glXGetConfig(display, info, GLX_USE_GL, &useGl);
  glXGetConfig(display, info, GLX_DOUBLEBUFFER, &doubleBuffer);
  XFree(info);
  return useGl != 0 && doubleBuffer != 0;
}

bool primaryGammaRamp(Display* display, std::vector<std::uint16_t>& red,
                      std::vector<std::uint16_t>& green, std::vector<std::uint16_t>& blue) {
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
  if (resources == nullptr) return false;
  XRRCrtcGamma* gamma =
      resources->ncrtc > 0 ? XRRGetCrtcGamma(display, resources->crtcs[0]) : nullptr;
  XRRFreeScreenResources(resources);
  if (gamma == nullptr) return false;
  red.assign(gamma->red, gamma->red + gamma->size);
  green.assign(gamma->green, gamma->green + gamma->size);
  blue.assign(gamma->blue, gamma->blue + gamma->size);
  XRRFreeGamma(gamma);
  return true;
}
