#pragma once
// Waiting for window messages when there is nothing else to do (the preview's loop).

// Returns when a message may be pending, a termination signal arrived, or `timeoutMs`
// milliseconds have passed; at once without a display.
void waitForMessage(int timeoutMs);
