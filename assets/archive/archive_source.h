#pragma once

#include <cstddef>
#include <cstdint>

// The bytes of an archive, either a file mapped (or, where mapping fails, read whole) for one
// read, or a block of memory the caller keeps alive. Every read is then a plain copy: walking
// many headers costs no system call. Reads past the end return fewer bytes; nothing is ever
// read outside the source.
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
  void close();

  const std::uint8_t* memory_ = nullptr;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;
  void* mapping_ = nullptr;            // owned mapping of a file, or null
  std::uint8_t* ownedCopy_ = nullptr;  // owned copy of a file that could not be mapped
};
