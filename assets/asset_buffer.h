#pragma once

#include <cstddef>
#include <cstdint>

// One whole archive entry in memory, read front to back like a file.
//
// Reads never check on their own: the cursor may run past `size`, and atEnd() reports exactly
// that. A read that reaches past the end copies only the bytes that exist and still advances the
// cursor by the full count; the rest of the destination is left unchanged. The cursor saturates
// at 0xFFFFFFFF instead of wrapping, so a huge read can never make the buffer look readable again.
class AssetBuffer {
 public:
  AssetBuffer() = default;
  virtual ~AssetBuffer();

  AssetBuffer(const AssetBuffer&) = delete;
  AssetBuffer& operator=(const AssetBuffer&) = delete;

  // Reads the named entry of data.sdd in the current directory. On failure the buffer stays
  // empty. The cursor is not touched: open an empty buffer (new or released).
  bool open(const char* entryName);

  // Same as open(), from an archive file at the given path.
  bool openFromArchive(const char* entryName, const char* archivePath);

  // Copies the given bytes in, as if they were an entry (for feeding loaders without an
  // archive). A null pointer with size 0 gives an open, empty entry.
  bool openFromMemory(const std::uint8_t* bytes, std::uint32_t size);

  // Copies elementSize * count bytes to the destination and advances the cursor by that much.
  AssetBuffer& read(void* destination, std::uint32_t elementSize, std::uint32_t count);

  // Copies count bytes; returns the new cursor (0 and nothing done when count is 0).
  std::uint32_t readBytes(void* destination, std::uint32_t count);

  // origin 0: from the start; 1: from the cursor; 2: back from the end (cursor = size - offset).
  // Any other origin leaves the cursor alone.
  void seek(std::int32_t offset, int origin);

  // True only once a read has gone past the last byte; a cursor exactly at size is not the end.
  bool atEnd() const { return cursor > size; }

  // Reads one text line: leading spaces are skipped, carriage returns dropped, the line feed
  // ends the line and is not stored. At most capacity - 1 characters are kept (the rest of an
  // overlong line is consumed and dropped); the line is always NUL-terminated.
  // Returns !atEnd() after the line.
  static constexpr std::size_t lineCapacity = 128;
  bool readLine(char* line, std::size_t capacity = lineCapacity);

  // Frees the entry; data null, size and cursor 0.
  void release();

  std::uint8_t* data = nullptr;  // owned, allocated with new[]
  std::uint32_t size = 0;
  std::uint32_t cursor = 0;

 private:
  void advance(std::uint64_t count);
  std::uint64_t copyOut(void* destination, std::uint64_t count) const;
};
