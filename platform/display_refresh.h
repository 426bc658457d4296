#pragma once
// How often the primary display shows a new picture, for pacing frames where the GL driver
// cannot wait for the vertical retrace itself.

// Refresh rate of the primary display in hertz; 0 when the display does not say (virtual
// servers such as Xvfb report modes without timings).
double displayRefreshRate();
