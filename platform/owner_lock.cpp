#include "platform/owner_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/user_state_folder.h"

OwnerLock::~OwnerLock() { release(); }

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

std::string ownerLockPath() {
  const std::string folder = userStateFolder();
  return folder.empty() ? folder : folder + "/owner.lock";
}

bool takeOwnership() {
  static OwnerLock lock;
  return lock.held() || lock.take(ownerLockPath());
}
