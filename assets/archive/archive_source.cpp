#include "assets/archive/archive_source.h"

#include <cstring>

ArchiveSource::~ArchiveSource() {
  if (file_ != nullptr) std::fclose(file_);
}

bool ArchiveSource::openFile(const char* path) {
  if (path == nullptr) return false;
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  if (fseeko(f, 0, SEEK_END) != 0) {
    std::fclose(f);
    return false;
  }
  off_t end = ftello(f);
  if (end < 0 || fseeko(f, 0, SEEK_SET) != 0) {
    std::fclose(f);
    return false;
  }
  file_ = f;
  size_ = static_cast<std::uint64_t>(end);
  position_ = 0;
  filePosition_ = 0;
  return true;
}

void ArchiveSource::openMemory(const std::uint8_t* bytes, std::size_t size) {
  memory_ = bytes;
  size_ = bytes == nullptr ? 0 : size;
  position_ = 0;
}

std::size_t ArchiveSource::read(void* destination, std::size_t count) {
  if (position_ >= size_ || count == 0) return 0;
  std::uint64_t available = size_ - position_;
  std::size_t wanted = count < available ? count : static_cast<std::size_t>(available);
  std::size_t got = 0;
  if (memory_ != nullptr) {
    std::memcpy(destination, memory_ + position_, wanted);
    got = wanted;
  } else if (file_ != nullptr) {
    if (filePosition_ != position_) {
      if (fseeko(file_, static_cast<off_t>(position_), SEEK_SET) != 0) return 0;
      filePosition_ = position_;
    }
    got = std::fread(destination, 1, wanted, file_);
    filePosition_ += got;
  }
  position_ += got;
  return got;
}
