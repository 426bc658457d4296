#include "platform/x11/x11_connection.h"

#include <cstdlib>

namespace {

bool errorSeen = false;

// The default handler ends the process on any refused request, which would leave the
// display mode switched; a refused request is an ordinary failure here.
int recordError(Display*, XErrorEvent*) {
  errorSeen = true;
  return 0;
}

// With the server gone there is nothing left to restore, and the exit handlers that would
// try need the connection: leave at once.
int connectionLost(Display*) { std::_Exit(1); }

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
