#include "platform/settings_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

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

enum class ReadResult { Read, Missing, NotAFile, TooLarge, Failed };

// Larger than the largest file the parser accepts, so that such a file is seen as too large.
constexpr std::size_t readLimit = 64 * 1024 + 1;

// Reads the whole file. Opening does not block and a FIFO, a folder or a device is refused
// before anything is read from it.
ReadResult readFile(const std::string& path, std::string& text) {
  text.clear();
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
  struct stat info;
  ReadResult result = ReadResult::Read;
  if (fstat(fd, &info) != 0)
    result = ReadResult::Failed;
  else if (!S_ISREG(info.st_mode))
    result = ReadResult::NotAFile;
  char buffer[4096];
  while (result == ReadResult::Read) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) result = ReadResult::Failed;
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
    if (text.size() >= readLimit) result = ReadResult::TooLarge;
  }
  close(fd);
  if (result != ReadResult::Read) text.clear();
  return result;
}

void say(std::string* problem, const std::string& path, const char* what) {
  if (problem != nullptr) *problem = "The settings file " + path + " " + what;
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

bool writeStoredValues(const std::vector<StoredValue>& values, std::string* problem) {
  std::string path = settingsFilePath();
  if (path.empty()) {
    if (problem != nullptr) *problem = "No home folder is known to keep the settings in.";
    return false;
  }
  // Whatever the old file holds must survive the save, so a file we cannot read whole is
  // left alone rather than replaced.
  std::string old;
  std::string text;
  switch (readFile(path, old)) {
    case ReadResult::Missing:
      if (!formatSettingsFile(values, text)) {
        say(problem, path, "cannot hold these values.");
        return false;
      }
      break;
    case ReadResult::Read:
      if (!isSettingsText(old)) {
        say(problem, path, "is not a text file; it was left as it is.");
        return false;
      }
      if (!rewriteSettingsFile(old, values, text)) {
        say(problem, path, "cannot hold these values; it was left as it is.");
        return false;
      }
      break;
    case ReadResult::NotAFile:
      say(problem, path, "is not a regular file; it was left as it is.");
      return false;
    case ReadResult::TooLarge:
      say(problem, path, "is larger than 64 KiB; it was left as it is.");
      return false;
    case ReadResult::Failed:
      say(problem, path, "cannot be read; it was left as it is.");
      return false;
  }

  std::string folder = folderOf(path);
  std::string temporary = path + ".XXXXXX";
  int fd = makeFolders(folder) ? mkostemp(temporary.data(), O_CLOEXEC) : -1;
  if (fd < 0) {
    say(problem, path, ("cannot be written (" + std::string(strerror(errno)) + ").").c_str());
    return false;
  }
  bool ok = writeAll(fd, text) && fchmod(fd, 0600) == 0 && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok && beforeSettingsRename != nullptr) beforeSettingsRename(temporary.c_str());
  ok = ok && rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) {
    int error = errno;
    unlink(temporary.c_str());
    say(problem, path,
        ("cannot be written (" + std::string(strerror(error)) + "); it was left as it is.")
            .c_str());
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
