// The owner lock on POSIX systems: an exclusive flock, which the kernel lets go when the
// process ends however it ends.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/owner_lock.h"

bool OwnerLock::take(const std::string& path) {
  release();
  if (path.empty()) return false;
  int file = open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (file < 0) return false;
  if (flock(file, LOCK_EX | LOCK_NB) != 0) {
    close(file);
    return false;
  }
  fd = file;
  return true;
}

void OwnerLock::release() {
  if (fd < 0) return;
  close(fd);  // closing the only descriptor lets the lock go
  fd = -1;
}
