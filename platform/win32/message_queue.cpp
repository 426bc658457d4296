#include "platform/message_queue.h"

#include "platform/win32/win32_windows.h"

namespace {

// The message peekMessage took last, until it is dispatched: dispatchMessage hands exactly
// this one to DispatchMessageA.
MSG taken{};
bool holding = false;

// The thread whose queue a console event ends.
DWORD queueThread = 0;

BOOL WINAPI onConsoleEvent(DWORD event) {
  PostThreadMessageA(queueThread, WM_QUIT, 0, 0);
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
  // Closing the console, logging off or shutting down ends the process as soon as this
  // returns: give the loop the time to put the display back, then let the system go on. The
  // process ends sooner if the run finishes first.
  Sleep(5000);
  return TRUE;
}

}  // namespace

bool peekMessage(WindowMessage& message) {
  MSG raw{};
  if (!PeekMessageA(&raw, nullptr, 0, 0, PM_REMOVE)) return false;
  holding = raw.message != WM_QUIT;
  if (holding) taken = raw;
  message = win32Message(raw.hwnd, raw.message, raw.wParam, raw.lParam);
  if (raw.message == WM_QUIT) message.window = 0;
  return true;
}

long dispatchMessage(const WindowMessage& message) {
  if (holding && reinterpret_cast<WindowHandle>(taken.hwnd) == message.window &&
      win32Message(taken.hwnd, taken.message, taken.wParam, taken.lParam).type == message.type) {
    holding = false;
    TranslateMessage(&taken);
    return static_cast<long>(DispatchMessageA(&taken));
  }
  // A message the program made itself goes straight to the class procedure.
  WindowProcedure procedure = win32WindowProcedure(reinterpret_cast<HWND>(message.window));
  return procedure != nullptr ? procedure(message) : defaultWindowProcedure(message);
}

void postQuitMessage() { PostQuitMessage(0); }

// Windows ends a saver with window messages (WM_CLOSE, handled by the class procedure); a
// console's Ctrl+C, Ctrl+Break, close, log-off and shut-down come as console events, which
// run on a thread of their own and so post the quit to the thread of the queue.
void quitOnTerminationSignals() {
  if (queueThread != 0) return;
  queueThread = GetCurrentThreadId();
  // The thread's queue exists from its first look at it, so that the post cannot be lost.
  MSG none;
  PeekMessageA(&none, nullptr, 0, 0, PM_NOREMOVE);
  SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}
