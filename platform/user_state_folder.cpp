#include "platform/user_state_folder.h"

#include <sys/stat.h>

#include <cstdlib>

std::string userStateFolder() {
  std::string base;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/')
    base = runtime;
  else if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/')
    base = cache;
  else if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/')
    base = std::string(home) + "/.cache";
  else
    return {};
  mkdir(base.c_str(), 0700);
  const std::string folder = base + "/plasmora";
  mkdir(folder.c_str(), 0700);
  return folder;
}
