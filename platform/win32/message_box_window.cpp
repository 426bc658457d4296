#include "platform/win32/message_box_window.h"

#include <windows.h>

#include "platform/message_box.h"

void showMessageWindow(const char* text, const char* caption) {
  if (text == nullptr) text = "";
  if (caption == nullptr) caption = "";
  printMessage(text, caption);
  MessageBoxA(nullptr, text, caption, MB_OK | MB_TOPMOST | MB_SETFOREGROUND);
}
