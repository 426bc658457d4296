#include "platform/message_wait.h"

#include <poll.h>

#include "platform/x11/x11_connection.h"

void waitForMessage(int timeoutMs) {
  Display* display = x11Display();
  if (display == nullptr) return;
  // Events already read from the connection would never wake the poll.
  if (XPending(display) > 0) return;
  pollfd connection{ConnectionNumber(display), POLLIN, 0};
  // A termination signal interrupts the poll; the next peekMessage then gives Quit.
  poll(&connection, 1, timeoutMs);
}
