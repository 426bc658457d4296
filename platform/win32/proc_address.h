#pragma once
// An export of a loaded module as a function of the given type; null when it has none.
#include <windows.h>

template <typename Function>
Function procAddress(HMODULE module, const char* name) {
  // Through the generic function type, which any function pointer converts from and to.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
