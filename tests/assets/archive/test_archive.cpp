#include "tests/assets/archive/test_archive.h"

#include "assets/archive/crc32.h"

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

std::uint32_t entryCrc(const std::vector<std::uint8_t>& bytes) {
  return crc32(0xFFFFFFFFu, bytes.data(), bytes.size()) ^ 0xFFFFFFFFu;
}

std::vector<std::uint8_t> bytesOf(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

TestArchive::TestArchive(bool solid, std::uint16_t mainHeadSize) {
  bytes_ = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
  put16(bytes_, 0);
  bytes_.push_back(0x73);
  put16(bytes_, solid ? 0x0008 : 0);
  put16(bytes_, mainHeadSize);
  put16(bytes_, 0);
  put32(bytes_, 0);
  for (int i = 13; i < mainHeadSize; ++i) bytes_.push_back(0);
}

TestArchive& TestArchive::stored(const std::string& name,
                                 const std::vector<std::uint8_t>& contents) {
  TestEntry e;
  e.name = name;
  e.packed = contents;
  e.unpSize = static_cast<std::uint32_t>(contents.size());
  e.fileCrc = entryCrc(contents);
  return entry(e);
}

TestArchive& TestArchive::packed(const std::string& name,
                                 const std::vector<std::uint8_t>& packedBytes,
                                 const std::vector<std::uint8_t>& contents, bool solidEntry) {
  TestEntry e;
  e.name = name;
  e.packed = packedBytes;
  e.unpSize = static_cast<std::uint32_t>(contents.size());
  e.fileCrc = entryCrc(contents);
  e.method = 0x33;
  if (solidEntry) e.flags |= 0x0010;
  return entry(e);
}

TestArchive& TestArchive::entry(const TestEntry& e) {
  std::uint32_t nameSize = e.nameSize >= 0 ? e.nameSize : static_cast<std::uint32_t>(e.name.size());
  put16(bytes_, 0);
  bytes_.push_back(0x74);
  put16(bytes_, e.flags);
  put16(bytes_, e.headSize >= 0 ? e.headSize : 32 + static_cast<int>(e.name.size()));
  put32(bytes_, e.packSize >= 0 ? static_cast<std::uint32_t>(e.packSize)
                                : static_cast<std::uint32_t>(e.packed.size()));
  put32(bytes_, e.unpSize);
  bytes_.push_back(2);  // host OS
  put32(bytes_, e.fileCrc);
  put32(bytes_, 0x12345678);  // time
  bytes_.push_back(e.unpVer);
  bytes_.push_back(e.method);
  put16(bytes_, nameSize);
  put32(bytes_, 0x20);
  bytes_.insert(bytes_.end(), e.name.begin(), e.name.end());
  bytes_.insert(bytes_.end(), e.packed.begin(), e.packed.end());
  return *this;
}

TestArchive& TestArchive::block(std::uint8_t type, std::uint16_t flags, std::uint16_t headSize,
                                std::uint32_t packSize, const std::vector<std::uint8_t>& tail) {
  put16(bytes_, 0);
  bytes_.push_back(type);
  put16(bytes_, flags);
  put16(bytes_, headSize);
  put32(bytes_, packSize);
  bytes_.insert(bytes_.end(), tail.begin(), tail.end());
  return *this;
}

TestArchive& TestArchive::raw(const std::vector<std::uint8_t>& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}
