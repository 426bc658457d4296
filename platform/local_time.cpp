#include "platform/local_time.h"

#include <time.h>

LocalTime localTime() {
  time_t now = time(nullptr);
  tm parts{};
  LocalTime result;
  if (localtime_r(&now, &parts) == nullptr) return result;
  result.hour = parts.tm_hour;
  result.minute = parts.tm_min;
  result.second = parts.tm_sec;
  return result;
}
