#include "platform/x11/x11_connection.h"

#include "platform/x11/desktop_guard.h"

#include <cstdlib>

namespace {

bool errorSeen = false;

// The default handler ends the process on any refused request, which would leave the
// display mode switched; a refused request is an ordinary failure here.
int recordError(Display*, XErrorEvent*) {
  errorSeen = true;
  return 0;
}

// The connection is gone: the server may still be there (a client killed with xkill loses
// only its own connection), and a mode or ramp this process set outlives it. Put them back
// through a fresh connection, then end as any other end of a run does. The exit handlers would
// need the old connection, so they are skipped.
int connectionLost(Display*) {
  restoreDesktopThroughFreshConnection();
  std::_Exit(0);
}

Display* open() {
  Display* display = XOpenDisplay(nullptr);
  if (display != nullptr) {
    XSetErrorHandler(recordError);
    XSetIOErrorHandler(connectionLost);
  }
  return display;
}

}  // namespace

Display* x11Display() {
  static Display* display = open();
  return display;
}

void x11ClearErrors() {
  if (Display* display = x11Display()) XSync(display, False);
  errorSeen = false;
}

bool x11ErrorsSince() {
  if (Display* display = x11Display()) XSync(display, False);
  return errorSeen;
}
