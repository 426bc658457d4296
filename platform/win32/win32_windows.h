#pragma once
// What the window and message services share on Windows: the module the classes belong to,
// the window procedure of each registered class, and how a Win32 message reads as a
// WindowMessage.
#include <windows.h>

#include "platform/window.h"

// The module of the running program: its window classes and its resources (icon 111).
HINSTANCE win32Instance();

// Whether the window belongs to this process (a preview's parent belongs to another one).
bool win32OwnWindow(HWND window);

// The procedure of the window's class; null for a class without one, or not registered here.
WindowProcedure win32WindowProcedure(HWND window);

// The WindowMessage a Win32 message stands for; type Other for every message the program does
// not look at. Pointer positions are client coordinates of `window`.
WindowMessage win32Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The console display state (platform/display_power.h): a top-level window that draws asks for
// its notifications when made and gives them up when destroyed; its WM_POWERBROADCAST goes to
// win32PowerBroadcast.
void* win32WatchDisplayPower(HWND window);
void win32StopWatchingDisplayPower(void* registration);
void win32PowerBroadcast(WPARAM event, LPARAM data);
