#include "platform/current_directory.h"

#include <unistd.h>

bool setCurrentDirectory(const char* path) {
  return path != nullptr && path[0] != '\0' && chdir(path) == 0;
}
