#pragma once
// The driver's own format chooser (WGL_ARB_pixel_format), which alone lists multisampled
// formats. Fetched by the renderer probe under a throwaway context; null where the driver has
// none, and then the system's ChoosePixelFormat is all there is.
#include <windows.h>

using ChoosePixelFormatArb = BOOL(WINAPI*)(HDC, const int*, const FLOAT*, UINT, int*, UINT*);
extern ChoosePixelFormatArb choosePixelFormatArb;
