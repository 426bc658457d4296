#include "platform/settings_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>

#include "platform/x11/settings_file.h"
#include "platform/x11/settings_store_file.h"

void (*beforeSettingsRename)(const char* temporaryPath) = nullptr;

namespace {

std::string folderOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

// Creates the folder and its parents as needed.
bool makeFolders(const std::string& folder) {
  for (std::size_t pos = 1; pos <= folder.size(); ++pos) {
    if (pos != folder.size() && folder[pos] != '/') continue;
    std::string part = folder.substr(0, pos);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

enum class ReadResult { Read, Missing, Failed };

ReadResult readFile(const std::string& path, std::string& text) {
  text.clear();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
  char buffer[4096];
  ReadResult result = ReadResult::Read;
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result = ReadResult::Failed;
      break;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
    // Anything this large is not a settings file; the parser refuses it as a whole.
    if (text.size() > 1024 * 1024) break;
  }
  close(fd);
  return result;
}

bool writeAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string settingsFilePath() {
  std::string base;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
      const passwd* entry = getpwuid(getuid());
      home = entry != nullptr ? entry->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/') return {};
    base = std::string(home) + "/.config";
  }
  return base + "/quillmoor/plasmora.conf";
}

std::string settingsStoreLocation() { return settingsFilePath(); }

std::vector<StoredValue> readStoredValues() {
  std::string path = settingsFilePath();
  std::string text;
  if (path.empty() || readFile(path, text) != ReadResult::Read) return {};
  return parseSettingsFile(text);
}

bool writeStoredValues(const std::vector<StoredValue>& values) {
  std::string path = settingsFilePath();
  if (path.empty()) return false;
  std::string old;
  // Values we could not read would be lost by replacing the file: refuse instead.
  ReadResult read = readFile(path, old);
  if (read == ReadResult::Failed) return false;
  std::vector<StoredValue> merged = values;
  if (read == ReadResult::Read) merged = mergeStoredValues(parseSettingsFile(old), values);
  std::string text;
  if (!formatSettingsFile(merged, text)) return false;

  std::string folder = folderOf(path);
  if (!makeFolders(folder)) return false;
  std::string temporary = path + ".XXXXXX";
  int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = writeAll(fd, text) && fchmod(fd, 0600) == 0 && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok && beforeSettingsRename != nullptr) beforeSettingsRename(temporary.c_str());
  ok = ok && rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) {
    unlink(temporary.c_str());
    return false;
  }
  // The rename itself is durable only once the folder is flushed.
  int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}
