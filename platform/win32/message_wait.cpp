#include "platform/message_wait.h"

#include <windows.h>

void waitForMessage(int timeoutMs) {
  // MWMO_INPUTAVAILABLE also wakes for messages already in the queue that an earlier look
  // left there; a quit posted on a termination signal wakes it as any posted message does.
  MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs < 0 ? INFINITE : DWORD(timeoutMs), QS_ALLINPUT,
                              MWMO_INPUTAVAILABLE);
}
