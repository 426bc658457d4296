#pragma once
// The wall-clock time of day in the user's time zone, for the clock overlay.

struct LocalTime {
  int hour = 0;  // 0..23
  int minute = 0;
  int second = 0;  // 0..60 (60 only during a leap second)
};

// Now, in local time; all zero if the system cannot say.
LocalTime localTime();
