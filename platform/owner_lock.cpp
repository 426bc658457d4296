// What the owner lock is on every system; taking and releasing it are the system's
// (owner_lock_posix.cpp, win32/owner_lock.cpp).
#include "platform/owner_lock.h"

#include "platform/user_state_folder.h"

OwnerLock::~OwnerLock() { release(); }

namespace {

#ifdef _WIN32
constexpr const char* pathSeparator = "\\";
#else
constexpr const char* pathSeparator = "/";
#endif

}  // namespace

std::string ownerLockPath() {
  const std::string folder = userStateFolder();
  return folder.empty() ? folder : folder + pathSeparator + "owner.lock";
}

bool takeOwnership() {
  static OwnerLock lock;
  return lock.held() || lock.take(ownerLockPath());
}
