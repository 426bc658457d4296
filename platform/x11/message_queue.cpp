#include "platform/message_queue.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <csignal>

#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_windows.h"

namespace {

bool quitPosted = false;
volatile std::sig_atomic_t terminationRequested = 0;
volatile std::sig_atomic_t terminationSeen = 0;

void onTerminationSignal(int) {
  terminationRequested = 1;
  terminationSeen = 1;
}

bool isSystemKey(const XKeyEvent& key) {
  KeySym sym = XLookupKeysym(const_cast<XKeyEvent*>(&key), 0);
  return (key.state & Mod1Mask) != 0 || sym == XK_Alt_L || sym == XK_Alt_R || sym == XK_Meta_L ||
         sym == XK_Meta_R || sym == XK_F10;
}

// The message an event stands for; false for events nobody here looks at.
bool translate(Display* display, const XEvent& event, WindowMessage& message) {
  message = WindowMessage{};
  message.window = event.xany.window;
  switch (event.type) {
    case KeyPress:
      message.type =
          isSystemKey(event.xkey) ? WindowMessageType::SystemKeyDown : WindowMessageType::KeyDown;
      return true;
    case ButtonPress:
      switch (event.xbutton.button) {
        case Button1:
          message.type = WindowMessageType::LeftButtonDown;
          break;
        case Button2:
          message.type = WindowMessageType::MiddleButtonDown;
          break;
        case Button3:
          message.type = WindowMessageType::RightButtonDown;
          break;
        case Button4:
        case Button5:
        case 6:
        case 7:
          message.type = WindowMessageType::MouseWheel;
          break;
        default:
          message.type = WindowMessageType::Other;
          break;
      }
      message.x = event.xbutton.x;
      message.y = event.xbutton.y;
      return true;
    case MotionNotify:
      message.type = WindowMessageType::MouseMove;
      message.x = event.xmotion.x;
      message.y = event.xmotion.y;
      return true;
    case ClientMessage:
      if (event.xclient.format == 32 && static_cast<Atom>(event.xclient.data.l[0]) ==
                                            XInternAtom(display, "WM_DELETE_WINDOW", False)) {
        message.type = WindowMessageType::Close;
        return true;
      }
      return false;
    case Expose:
      // The last of a series: one Paint draws the whole picture again.
      if (event.xexpose.count != 0) return false;
      message.type = WindowMessageType::Paint;
      return true;
    case ConfigureNotify:
      // A preview's parent was resized: its child keeps covering it.
      if (event.xconfigure.window == event.xconfigure.event)
        followParentSize(event.xconfigure.window, event.xconfigure.width, event.xconfigure.height);
      message.type = WindowMessageType::Other;
      return true;
    case VisibilityNotify:
      message.type = event.xvisibility.state == VisibilityFullyObscured ? WindowMessageType::Hidden
                                                                        : WindowMessageType::Shown;
      return true;
    case UnmapNotify:
    case MapNotify:
      // Only a window's own, not those of children it watches.
      message.window = event.type == UnmapNotify ? event.xunmap.window : event.xmap.window;
      if (message.window != (event.type == UnmapNotify ? event.xunmap.event : event.xmap.event))
        return false;
      message.type =
          event.type == UnmapNotify ? WindowMessageType::Hidden : WindowMessageType::Shown;
      return true;
    case DestroyNotify:
      // Only a window's own destruction, not that of a child it watches.
      if (event.xdestroywindow.window != event.xdestroywindow.event) return false;
      message.window = event.xdestroywindow.window;
      message.type = WindowMessageType::Destroy;
      return true;
    default:
      message.type = WindowMessageType::Other;
      return true;
  }
}

}  // namespace

bool peekMessage(WindowMessage& message) {
  if (terminationRequested) {
    terminationRequested = 0;
    quitPosted = true;
  }
  if (quitPosted) {
    quitPosted = false;
    message = WindowMessage{};
    message.type = WindowMessageType::Quit;
    return true;
  }
  Display* display = x11Display();
  if (display == nullptr) return false;
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (translate(display, event, message)) return true;
  }
  return false;
}

long dispatchMessage(const WindowMessage& message) {
  const X11Window* w = findX11Window(message.window);
  if (w == nullptr || w->procedure == nullptr) return defaultWindowProcedure(message);
  return w->procedure(message);
}

void postQuitMessage() { quitPosted = true; }

void quitOnTerminationSignals() {
  struct sigaction action {};
  action.sa_handler = onTerminationSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a wait in progress (a message box) returns and sees the request.
  action.sa_flags = 0;
  for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) sigaction(signal, &action, nullptr);
}

bool x11TerminationRequested() { return terminationSeen != 0; }
