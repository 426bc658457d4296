// The owner lock on Windows: LockFileEx on the lock file, which the system lets go when the
// process ends however it ends. The descriptor kept is the run time's for the file's handle.
#include "platform/owner_lock.h"

#include <io.h>
#include <windows.h>

#include <fcntl.h>

bool OwnerLock::take(const std::string& path) {
  release();
  if (path.empty()) return false;
  // Not inherited by child processes; a symbolic link or junction is opened as itself, never
  // followed. Other openers may read, write or delete it, so a holder never blocks anyone
  // but another holder.
  HANDLE file = CreateFileA(
      path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  OVERLAPPED start{};
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start)) {
    CloseHandle(file);
    return false;
  }
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY);
  if (descriptor < 0) {
    CloseHandle(file);
    return false;
  }
  fd = descriptor;
  return true;
}

void OwnerLock::release() {
  if (fd < 0) return;
  _close(fd);  // closing the file's only handle lets the lock go
  fd = -1;
}
