#include "assets/asset_buffer.h"

#include "assets/archive/archive_reader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

AssetBuffer::~AssetBuffer() { release(); }

bool AssetBuffer::open(const char* entryName) { return openFromArchive(entryName, "data.sdd"); }

bool AssetBuffer::openFromArchive(const char* entryName, const char* archivePath) {
  release();
  std::unique_ptr<std::uint8_t[]> bytes;
  std::uint32_t produced = 0;
  if (!readArchiveEntry(entryName, archivePath, bytes, produced)) return false;
  data = bytes.release();
  size = produced;
  return true;
}

bool AssetBuffer::openFromMemory(const std::uint8_t* bytes, std::uint32_t count) {
  release();
  if (bytes == nullptr && count != 0) return false;
  data = new (std::nothrow) std::uint8_t[count == 0 ? 1 : count];
  if (data == nullptr) return false;
  if (count != 0) std::memcpy(data, bytes, count);
  size = count;
  return true;
}

std::uint64_t AssetBuffer::copyOut(void* destination, std::uint64_t count) const {
  if (data == nullptr || cursor >= size || count == 0) return 0;
  std::uint64_t available = std::min<std::uint64_t>(count, size - cursor);
  std::memcpy(destination, data + cursor, static_cast<std::size_t>(available));
  return available;
}

void AssetBuffer::advance(std::uint64_t count) {
  std::uint64_t next = static_cast<std::uint64_t>(cursor) + count;
  cursor = next > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(next);
}

AssetBuffer& AssetBuffer::read(void* destination, std::uint32_t elementSize, std::uint32_t count) {
  std::uint64_t total = static_cast<std::uint64_t>(elementSize) * count;
  copyOut(destination, total);
  advance(total);
  return *this;
}

std::uint32_t AssetBuffer::readBytes(void* destination, std::uint32_t count) {
  if (count == 0) return 0;
  copyOut(destination, count);
  advance(count);
  return cursor;
}

void AssetBuffer::seek(std::int32_t offset, int origin) {
  // Plain 32-bit arithmetic, as a file offset would wrap: a cursor moved before the start
  // lands far past the end, where every read copies nothing and atEnd() holds.
  switch (origin) {
    case 0:
      cursor = static_cast<std::uint32_t>(offset);
      break;
    case 1:
      cursor += static_cast<std::uint32_t>(offset);
      break;
    case 2:
      cursor = size - static_cast<std::uint32_t>(offset);
      break;
    default:
      break;
  }
}

bool AssetBuffer::readLine(char* line, std::size_t capacity) {
  if (line == nullptr || capacity == 0) return !atEnd();
  std::size_t length = 0;
  char byte = 0;
  readBytes(&byte, 1);
  while (byte == ' ' && !atEnd()) readBytes(&byte, 1);
  while (byte != '\n' && !atEnd()) {
    if (byte != '\r' && length + 1 < capacity) line[length++] = byte;
    readBytes(&byte, 1);
  }
  line[length] = '\0';
  return !atEnd();
}

void AssetBuffer::release() {
  delete[] data;
  data = nullptr;
  size = 0;
  cursor = 0;
}
