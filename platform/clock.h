#pragma once
// The high-resolution counter that times frames: a monotonic count and its rate.
#include <cstdint>

// Current value of the monotonic counter.
std::int64_t performanceCounter();

// Counts per second of performanceCounter().
std::int64_t performanceFrequency();
