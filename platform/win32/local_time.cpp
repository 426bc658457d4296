#include "platform/local_time.h"

#include <windows.h>

LocalTime localTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  LocalTime result;
  result.hour = now.wHour;
  result.minute = now.wMinute;
  result.second = now.wSecond;
  return result;
}
