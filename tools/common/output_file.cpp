#include "tools/common/output_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>

bool writeFileBytes(const std::string& path, const std::vector<unsigned char>& bytes,
                    std::string& error) {
  // Written beside the target and renamed over it, so a failed run never leaves a
  // truncated file that a later build would take as up to date.
  const std::string part = path + ".part";
  std::ofstream file(part, std::ios::binary | std::ios::trunc);
  if (!file) {
    error = "cannot create " + path;
    return false;
  }
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  file.close();
  std::error_code ec;
  if (!file) {
    std::filesystem::remove(part, ec);
    error = "cannot write " + path;
    return false;
  }
  std::filesystem::rename(part, path, ec);
  if (ec) {
    std::filesystem::remove(part, ec);
    error = "cannot replace " + path;
    return false;
  }
  return true;
}
