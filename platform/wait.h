#pragma once
// Sleeping until a point of the performance counter (platform/clock.h), for frame pacing.
#include <cstdint>

// Returns once performanceCounter() has reached `counter`; at once if it already has.
void waitUntilCounter(std::int64_t counter);
