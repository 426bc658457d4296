#pragma once
// The time of day a recording shows: it starts at a chosen time and moves by the recording's
// fixed time step, never by the wall clock, so the same options give the same pictures.
// Installed as the text overlay's time source; one simulated clock per process.
#include "platform/local_time.h"

// Starts the clock at `secondsOfDay` (0 to 86399) and makes the overlay read it.
void startSimulatedClock(int secondsOfDay);
// Moves it on by dt seconds, wrapping at midnight.
void advanceSimulatedClock(double dt);
// The time it shows now.
LocalTime simulatedTime();
// The overlay reads the platform's clock again.
void stopSimulatedClock();
