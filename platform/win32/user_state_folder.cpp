// The user's state folder on Windows: Plasmora in the user's local application data, which
// only the user (and the system) may open.
#include "platform/user_state_folder.h"

#include <windows.h>

#include <cstdlib>

std::string userStateFolder() {
  std::string base;
  if (const char* local = std::getenv("LOCALAPPDATA"); local != nullptr && *local != '\0')
    base = local;
  else if (const char* profile = std::getenv("USERPROFILE"); profile != nullptr && *profile != '\0')
    base = std::string(profile) + "\\AppData\\Local";
  else
    return {};
  CreateDirectoryA(base.c_str(), nullptr);
  const std::string folder = base + "\\Plasmora";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}
