#include "assets/archive/archive_source.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <new>

ArchiveSource::~ArchiveSource() { close(); }

void ArchiveSource::close() {
  if (mapping_ != nullptr) munmap(mapping_, static_cast<std::size_t>(size_));
  delete[] ownedCopy_;
  mapping_ = nullptr;
  ownedCopy_ = nullptr;
  memory_ = nullptr;
  size_ = 0;
  position_ = 0;
}

bool ArchiveSource::openFile(const char* path) {
  close();
  if (path == nullptr) return false;
  int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
    ::close(fd);
    return false;
  }
  std::size_t size = static_cast<std::size_t>(info.st_size);
  if (size > 0) {
    void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (map != MAP_FAILED) {
      mapping_ = map;
      memory_ = static_cast<const std::uint8_t*>(map);
    } else {
      // Some file systems cannot map: read the file whole instead.
      ownedCopy_ = new (std::nothrow) std::uint8_t[size];
      std::size_t got = 0;
      while (ownedCopy_ != nullptr && got < size) {
        ssize_t n = ::read(fd, ownedCopy_ + got, size - got);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
      }
      if (ownedCopy_ == nullptr || got < size) {
        ::close(fd);
        close();
        return false;
      }
      memory_ = ownedCopy_;
    }
  }
  ::close(fd);
  size_ = size;
  position_ = 0;
  return true;
}

void ArchiveSource::openMemory(const std::uint8_t* bytes, std::size_t size) {
  close();
  memory_ = bytes;
  size_ = bytes == nullptr ? 0 : size;
  position_ = 0;
}

std::size_t ArchiveSource::read(void* destination, std::size_t count) {
  if (position_ >= size_ || count == 0) return 0;
  std::uint64_t available = size_ - position_;
  std::size_t wanted = count < available ? count : static_cast<std::size_t>(available);
  std::memcpy(destination, memory_ + position_, wanted);
  position_ += wanted;
  return wanted;
}
