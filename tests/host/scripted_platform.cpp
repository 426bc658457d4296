#include "tests/host/scripted_platform.h"

#include <map>

#include "platform/clock.h"
#include "platform/cursor.h"
#include "platform/display_mode.h"
#include "platform/display_power.h"
#include "platform/hack_window.h"
#include "platform/message_queue.h"
#include "platform/message_wait.h"
#include "render/frame_presenter.h"
#include "render/frame_views.h"
#include "show/saver_content.h"

namespace scripted {

namespace {

Platform state;

struct FakeWindow {
  std::string className;
  int x, y, width, height;
};

std::map<std::string, WindowProcedure> classes;
std::map<WindowHandle, FakeWindow> windows;
WindowHandle nextWindow = 100;
WindowHandle firstWindow = 0;
int createCount = 0;
bool quitPosted = false;

void note(const std::string& entry) { state.log.push_back(entry); }

}  // namespace

Platform& reset() {
  state = Platform{};
  classes.clear();
  windows.clear();
  nextWindow = 100;
  firstWindow = 0;
  createCount = 0;
  quitPosted = false;
  setFrameViews(FrameViews{});
  setFramePresenter(nullptr, nullptr);
  return state;
}

Platform& platform() { return state; }

Step message(WindowMessageType type, int x, int y) {
  WindowMessage m;
  m.type = type;
  m.x = x;
  m.y = y;
  // Window 100 is the first one created: the primary window.
  m.window = 100;
  return Step{m};
}

Step messageFor(WindowHandle window, WindowMessageType type) {
  Step step = message(type);
  step.message->window = window;
  return step;
}

Step idle() { return Step{}; }

}  // namespace scripted

using scripted::note;
using scripted::state;

std::int64_t performanceCounter() { return state.counter; }
std::int64_t performanceFrequency() { return state.frequency; }

bool registerWindowClass(const char* name, WindowProcedure procedure) {
  note(std::string("register ") + name);
  return scripted::classes.emplace(name, procedure).second;
}

void unregisterWindowClass(const char* name) {
  note(std::string("unregister ") + name);
  scripted::classes.erase(name);
}

WindowHandle createWindow(const char* className, const char*, int x, int y, int width, int height,
                          bool visible) {
  note(std::string("create ") + className + " " + std::to_string(x) + " " + std::to_string(y) +
       " " + std::to_string(width) + " " + std::to_string(height) + (visible ? " visible" : ""));
  if (++scripted::createCount == state.failCreateNumber) return 0;
  auto found = scripted::classes.find(className);
  if (found == scripted::classes.end()) return 0;
  WindowHandle handle = scripted::nextWindow++;
  scripted::windows[handle] = {className, x, y, width, height};
  if (found->second != nullptr) {
    WindowMessage create;
    create.window = handle;
    create.type = WindowMessageType::Create;
    found->second(create);
  }
  return handle;
}

void showWindow(WindowHandle window, int showCommand) {
  note("show " + std::to_string(window) + " " + std::to_string(showCommand));
}
void setFocus(WindowHandle window) { note("focus " + std::to_string(window)); }
void closeWindow(WindowHandle window) {
  note("close " + std::to_string(window));
  scripted::windows.erase(window);
}

bool clientRect(WindowHandle window, int& right, int& bottom) {
  auto found = scripted::windows.find(window);
  if (found == scripted::windows.end()) return false;
  right = found->second.width;
  bottom = found->second.height;
  return true;
}

void clientToScreen(WindowHandle window, int& x, int& y) {
  auto found = scripted::windows.find(window);
  if (found == scripted::windows.end()) return;
  x += found->second.x;
  y += found->second.y;
}

long defaultWindowProcedure(const WindowMessage&) { return 0; }

bool peekMessage(WindowMessage& message) {
  if (scripted::quitPosted) {
    scripted::quitPosted = false;
    message = WindowMessage{};
    message.type = WindowMessageType::Quit;
    return true;
  }
  if (state.script.empty()) {
    state.scriptRanOut = true;
    message = WindowMessage{};
    message.type = WindowMessageType::Quit;
    return true;
  }
  scripted::Step step = state.script.front();
  state.script.pop_front();
  if (!step.message) {
    state.counter += state.idleTicks;
    return false;
  }
  message = *step.message;
  return true;
}

long dispatchMessage(const WindowMessage& message) {
  note("dispatch");
  auto window = scripted::windows.find(message.window);
  if (window == scripted::windows.end()) return 0;
  WindowProcedure procedure = scripted::classes[window->second.className];
  return procedure != nullptr ? procedure(message) : defaultWindowProcedure(message);
}

void postQuitMessage() {
  note("quit posted");
  scripted::quitPosted = true;
}

void quitOnTerminationSignals() { note("signals"); }

void showCursor(bool show) { note(show ? "show cursor" : "hide cursor"); }
void setCursorPosition(int x, int y) {
  note("cursor " + std::to_string(x) + " " + std::to_string(y));
}

bool displayDevice(int index, DisplayDevice& device) {
  if (index < 0 || static_cast<std::size_t>(index) >= state.devices.size()) return false;
  device = state.devices[static_cast<std::size_t>(index)];
  return true;
}

std::uintptr_t monitorFromRect(int left, int top, int, int) {
  for (auto& corner : state.uncovered)
    if (corner.first == left && corner.second == top) return 0;
  return 1000 + static_cast<std::uintptr_t>(left);
}

bool changeDisplayMode(const DisplayMode& mode) {
  note("mode " + std::to_string(mode.width) + "x" + std::to_string(mode.height) + "x" +
       std::to_string(mode.bitsPerPixel));
  return state.modeAccepted;
}
bool currentDisplayMode(DisplayMode& mode) {
  mode = state.desktopMode;
  return true;
}
void restoreDisplayMode() { note("restore mode"); }

DeviceContext getDeviceContext(WindowHandle window) {
  note("get dc");
  return window + 1;
}
void releaseDeviceContext(WindowHandle, DeviceContext dc) {
  note("release dc " + std::to_string(dc));
}
int choosePixelFormat(DeviceContext, const PixelFormat& request) {
  note("choose format " + std::to_string(request.colourBits) + " " +
       std::to_string(request.depthBits) + " " + std::to_string(request.stencilBits) +
       (request.doubleBuffer ? " double" : "") +
       (request.samples != 0 ? " x" + std::to_string(request.samples) : ""));
  return state.choosePixelFormatResult;
}
bool acceleratedRenderer() { return state.accelerated; }
bool describePixelFormat(DeviceContext, int n, PixelFormat&) {
  note("describe format " + std::to_string(n));
  return state.describeSucceeds;
}
bool setPixelFormat(DeviceContext dc, int n) {
  note("set format " + std::to_string(dc) + " " + std::to_string(n));
  return true;
}
RenderContext createRenderContext(DeviceContext) {
  note("create context");
  return 55;
}
bool makeCurrent(DeviceContext dc, RenderContext rc) {
  note("current " + std::to_string(dc) + " " + std::to_string(rc));
  return true;
}
void deleteRenderContext(RenderContext rc) { note("delete context " + std::to_string(rc)); }

bool startContent(WindowHandle) {
  note("start content");
  return state.contentStarts;
}
void loadContent() {
  note("load content");
  state.counter += state.loadingTicks;
}
void advanceObjects(float dt) {
  note("frame");
  state.frameTimes.push_back(dt);
}
void directAndDraw(float) {
  // As the frame composition does: the same moment into every view, then one present.
  for (int view = 0; view < frameViews().count; ++view) {
    beginFrameView(view);
    note("draw");
  }
  presentFrame();
}
void restContent(bool resting) { note(resting ? "rest" : "wake"); }
bool displayPoweredDown() {
  note("power?");
  if (state.powerAnswers.empty()) return false;
  const bool off = state.powerAnswers.front();
  state.powerAnswers.pop_front();
  return off;
}
void waitForMessage(int timeoutMs) { note("wait " + std::to_string(timeoutMs)); }
void swapBuffers(DeviceContext dc) { note("swap " + std::to_string(dc)); }
bool swapControlAvailable() { return state.swapControl; }
void setSwapInterval(int interval) { note("interval " + std::to_string(interval)); }

WindowHandle createChildWindow(const char* className, const char* title, WindowHandle parent, int x,
                               int y, int width, int height, bool visible) {
  if (scripted::windows.find(parent) == scripted::windows.end()) return 0;
  return createWindow(className, title, x, y, width, height, visible);
}
WindowHandle rootWindow() { return 0; }
WindowHandle createOrdinaryWindow(const char*, int width, int height) {
  note("ordinary window");
  WindowHandle handle = scripted::nextWindow++;
  scripted::windows[handle] = {"", 0, 0, width, height};
  return handle;
}
void destroyOrdinaryWindow(WindowHandle window) {
  note("destroy ordinary " + std::to_string(window));
  scripted::windows.erase(window);
}
void stopContent() { note("stop content"); }
