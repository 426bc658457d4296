#include "assets/archive/archive_source.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstring>
#include <new>

ArchiveSource::~ArchiveSource() { close(); }

void ArchiveSource::close() {
#ifdef _WIN32
  if (mapping_ != nullptr) UnmapViewOfFile(mapping_);
#else
  if (mapping_ != nullptr) munmap(mapping_, static_cast<std::size_t>(size_));
#endif
  delete[] ownedCopy_;
  mapping_ = nullptr;
  ownedCopy_ = nullptr;
  memory_ = nullptr;
  size_ = 0;
  position_ = 0;
}

#ifdef _WIN32
bool ArchiveSource::openFile(const char* path) {
  close();
  if (path == nullptr) return false;
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER length{};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &length) || length.QuadPart < 0 ||
      static_cast<std::uint64_t>(length.QuadPart) > static_cast<std::size_t>(-1)) {
    CloseHandle(file);
    return false;
  }
  std::size_t size = static_cast<std::size_t>(length.QuadPart);
  if (size > 0) {
    // The view keeps the mapping object alive once both handles are closed.
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    void* view = mapping != nullptr ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
    if (mapping != nullptr) CloseHandle(mapping);
    if (view != nullptr) {
      mapping_ = view;
      memory_ = static_cast<const std::uint8_t*>(view);
    } else {
      // Some file systems cannot map: read the file whole instead.
      ownedCopy_ = new (std::nothrow) std::uint8_t[size];
      std::size_t got = 0;
      while (ownedCopy_ != nullptr && got < size) {
        const std::size_t left = size - got;
        DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD n = 0;
        if (!ReadFile(file, ownedCopy_ + got, chunk, &n, nullptr) || n == 0) break;
        got += n;
      }
      if (ownedCopy_ == nullptr || got < size) {
        CloseHandle(file);
        close();
        return false;
      }
      memory_ = ownedCopy_;
    }
  }
  CloseHandle(file);
  size_ = size;
  position_ = 0;
  return true;
}
#else
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
#endif

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
