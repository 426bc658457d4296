#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds small archives in memory for tests: the marker, a main header and file blocks whose
// fields can be set freely (so that damaged headers can be made as easily as good ones).
struct TestEntry {
  std::string name;
  std::vector<std::uint8_t> packed;  // the bytes after the header
  std::uint32_t unpSize = 0;
  std::uint32_t fileCrc = 0;
  std::uint8_t unpVer = 20;
  std::uint8_t method = 0x30;
  std::uint16_t flags = 0x8000;
  // Overrides, when set, of what the header would naturally say.
  int headSize = -1;
  long long packSize = -1;
  int nameSize = -1;
};

std::uint32_t entryCrc(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> bytesOf(const std::string& text);

class TestArchive {
 public:
  explicit TestArchive(bool solid = false, std::uint16_t mainHeadSize = 13);

  // A stored entry with the right size and CRC.
  TestArchive& stored(const std::string& name, const std::vector<std::uint8_t>& contents);
  // A compressed entry: packed bytes plus the size and contents they stand for.
  TestArchive& packed(const std::string& name, const std::vector<std::uint8_t>& packedBytes,
                      const std::vector<std::uint8_t>& contents, bool solidEntry = false);
  TestArchive& entry(const TestEntry& entry);
  // A block of another type (HEAD_TYPE, HEAD_FLAGS, HEAD_SIZE and any bytes after the header).
  TestArchive& block(std::uint8_t type, std::uint16_t flags, std::uint16_t headSize,
                     std::uint32_t packSize = 0, const std::vector<std::uint8_t>& tail = {});
  TestArchive& raw(const std::vector<std::uint8_t>& bytes);

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

void put16(std::vector<std::uint8_t>& out, std::uint32_t value);
void put32(std::vector<std::uint8_t>& out, std::uint32_t value);
