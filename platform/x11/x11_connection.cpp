#include "platform/x11/x11_connection.h"

namespace {

bool errorSeen = false;

// The default handler ends the process on any refused request, which would leave the
// display mode switched; a refused request is an ordinary failure here.
int recordError(Display*, XErrorEvent*) {
  errorSeen = true;
  return 0;
}

Display* open() {
  Display* display = XOpenDisplay(nullptr);
  if (display != nullptr) XSetErrorHandler(recordError);
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
