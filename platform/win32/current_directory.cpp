#include "platform/current_directory.h"

#include <windows.h>

bool setCurrentDirectory(const char* path) {
  return path != nullptr && path[0] != '\0' && SetCurrentDirectoryA(path) != FALSE;
}
