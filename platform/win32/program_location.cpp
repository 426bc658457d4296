#include "platform/program_location.h"

#include <windows.h>

#include <vector>

std::string programFolder() {
  // Long paths do not fit MAX_PATH: grow until the whole name fits.
  for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
    std::vector<char> path(size);
    const DWORD n = GetModuleFileNameA(nullptr, path.data(), size);
    if (n == 0) return {};
    if (n >= size) continue;  // cut short
    std::string exe(path.data(), n);
    const std::size_t slash = exe.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : exe.substr(0, slash);
  }
  return {};
}
