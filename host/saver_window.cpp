#include "host/saver_window.h"

#include "host/pixel_format.h"
#include "host/saver_state.h"
#include "platform/cursor.h"
#include "platform/message_queue.h"

WindowHandle primaryWindow = 0;
DeviceContext primaryDC = 0;
RenderContext renderContext = 0;
float pendingMouseX = 0.0f;
float pendingMouseY = 0.0f;
double secondsPerTick = 0.0;

namespace {

// The centre of the window's client area in desktop coordinates.
void centreOf(WindowHandle window, int& x, int& y) {
  int right = 0, bottom = 0;
  clientRect(window, right, bottom);
  x = right / 2;
  y = bottom / 2;
  clientToScreen(window, x, y);
}

}  // namespace

long saverWindowProc(const WindowMessage& message) {
  switch (message.type) {
    case WindowMessageType::Create:
      // Results are not checked: without a context the run goes on, drawing nothing.
      primaryDC = getDeviceContext(message.window);
      setupPixelFormat();
      renderContext = createRenderContext(primaryDC);
      makeCurrent(primaryDC, renderContext);
      return 0;
    case WindowMessageType::KeyDown:
    case WindowMessageType::LeftButtonDown:
    case WindowMessageType::RightButtonDown:
    case WindowMessageType::Close:
    case WindowMessageType::Destroy:
      postQuitMessage();
      return 0;
    case WindowMessageType::MouseMove: {
      int px = message.x, py = message.y;
      clientToScreen(message.window, px, py);
      int cx = 0, cy = 0;
      centreOf(message.window, cx, cy);
      pendingMouseX = static_cast<float>(px - cx) * 0.3f;
      pendingMouseY = static_cast<float>(py - cy) * 0.3f;
      return 0;
    }
    default:
      return defaultWindowProcedure(message);
  }
}

void releaseRenderContext() {
  if (renderContext != 0) {
    makeCurrent(0, 0);
    deleteRenderContext(renderContext);
    renderContext = 0;
  }
  releaseDeviceContext(primaryWindow, primaryDC);
  primaryDC = 0;
}

void centreCursor() {
  int x = 0, y = 0;
  centreOf(primaryWindow, x, y);
  setCursorPosition(x, y);
}
