#include "platform/shared_library.h"

#include <windows.h>

SharedLibrary loadSharedLibrary(const char* path) {
  if (path == nullptr) return nullptr;
  // A file that is missing or not a library is reported by the result, never by a system
  // box that would wait for a click in the middle of a screen saver.
  DWORD previous = 0;
  const BOOL quiet = SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous);
  HMODULE library = LoadLibraryA(path);
  if (quiet) SetThreadErrorMode(previous, nullptr);
  return reinterpret_cast<SharedLibrary>(library);
}

void* sharedLibrarySymbol(SharedLibrary library, const char* name) {
  if (library == nullptr || name == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void freeSharedLibrary(SharedLibrary library) {
  if (library != nullptr) FreeLibrary(static_cast<HMODULE>(library));
}
