#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// The bytes of an archive, either a file opened for one read or a block of memory the caller
// keeps alive. Reads past the end return fewer bytes; nothing is ever read outside the source.
class ArchiveSource {
 public:
  ArchiveSource() = default;
  virtual ~ArchiveSource();

  ArchiveSource(const ArchiveSource&) = delete;
  ArchiveSource& operator=(const ArchiveSource&) = delete;

  bool openFile(const char* path);
  void openMemory(const std::uint8_t* bytes, std::size_t size);

  // Copies up to count bytes from the current position; returns how many were copied.
  std::size_t read(void* destination, std::size_t count);
  // Moves to an absolute position; positions past the end are allowed (reads there give 0).
  void seek(std::uint64_t position) { position_ = position; }
  std::uint64_t tell() const { return position_; }
  std::uint64_t size() const { return size_; }

 private:
  std::FILE* file_ = nullptr;
  const std::uint8_t* memory_ = nullptr;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;
  std::uint64_t filePosition_ = 0;  // where the FILE stream really stands
};
