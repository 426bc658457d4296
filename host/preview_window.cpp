#include "host/preview_window.h"

#include "host/builtin_bitmaps.h"
#include "platform/message_box.h"
#include "platform/message_queue.h"
#include "platform/message_wait.h"
#include "platform/window_picture.h"

namespace {

// The picture, taken when the window is made and kept until the process ends; null leaves the
// window black.
const BuiltinBitmap* picture = nullptr;

// A signal that lands between the last look at the queue and the wait is seen this late.
constexpr int waitSliceMs = 250;

}  // namespace

long previewWindowProc(const WindowMessage& message) {
  switch (message.type) {
    case WindowMessageType::Create:
      picture = builtinBitmap(previewBitmapId);
      return 0;
    case WindowMessageType::Paint:
      if (picture != nullptr)
        drawPicture(message.window, 0, 0, picture->width, picture->height, picture->rgb);
      return 0;
    case WindowMessageType::Destroy:
    case WindowMessageType::Close:
      postQuitMessage();
      return 0;
    default:
      return defaultWindowProcedure(message);
  }
}

bool runPreview(const SaverApp& app) {
  registerWindowClass(previewClassName, previewWindowProc);
  int right = 0, bottom = 0;
  clientRect(app.parentWindow, right, bottom);
  const WindowHandle window = createChildWindow(previewClassName, previewTitle, app.parentWindow, 0,
                                                0, right, bottom, true);
  if (window == 0) {
    showMessageBox("Cannot creat window!", "ERROR");
    return false;
  }
  showWindow(window, app.showCommand);
  quitOnTerminationSignals();
  for (;;) {
    WindowMessage message;
    if (!peekMessage(message)) {
      waitForMessage(waitSliceMs);
      continue;
    }
    if (message.type == WindowMessageType::Quit) break;
    dispatchMessage(message);
  }
  return true;
}
