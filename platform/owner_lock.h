#pragma once
// One owner of the machine-wide effects (the music, the gamma ramp) among the processes of
// the show that run at once, as a screensaver daemon starts one per monitor.
//
// The lock is an exclusive flock on a file: the kernel lets it go when the process ends, by
// any means (a signal, a crash, SIGKILL), so a dead owner never blocks the next one. It is not
// inherited across exec. Only the lock's file is created; nothing is ever written into it.
// On Windows it is LockFileEx on the same kind of file (released by the system when the
// process ends, by any means), and `fd` is the C run time's descriptor of the file's handle.
#include <string>

class OwnerLock {
 public:
  virtual ~OwnerLock();
  // Takes the lock on the file at `path` without waiting (creating it, never through a
  // symbolic link); false when another holder has it or the file cannot be opened.
  bool take(const std::string& path);
  void release();
  bool held() const { return fd >= 0; }

 private:
  int fd = -1;
};

// The user's lock: "owner.lock" in userStateFolder() ("plasmora/owner.lock" in
// $XDG_RUNTIME_DIR, else the cache folder), the folder made private to the user when
// missing. Empty when no such folder can be named.
std::string ownerLockPath();

// Takes the user's lock for the rest of the process; false when another process has it.
bool takeOwnership();
