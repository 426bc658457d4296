#include "assets/asset_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

AssetBuffer& openText(AssetBuffer& buffer, const std::string& text) {
  EXPECT_TRUE(buffer.openFromMemory(reinterpret_cast<const std::uint8_t*>(text.data()),
                                    static_cast<std::uint32_t>(text.size())));
  return buffer;
}

TEST(AssetBuffer, EmptyAfterConstructionAndRelease) {
  AssetBuffer buffer;
  EXPECT_EQ(buffer.data, nullptr);
  EXPECT_EQ(buffer.size, 0u);
  openText(buffer, "abc");
  buffer.seek(2, 0);
  buffer.release();
  EXPECT_EQ(buffer.data, nullptr);
  EXPECT_EQ(buffer.size, 0u);
  EXPECT_EQ(buffer.cursor, 0u);
}

TEST(AssetBuffer, ZeroSizeEntryIsOpenAndNotAtEndUntilRead) {
  AssetBuffer buffer;
  ASSERT_TRUE(buffer.openFromMemory(nullptr, 0));
  EXPECT_NE(buffer.data, nullptr);
  EXPECT_FALSE(buffer.atEnd());
  char c = 'x';
  EXPECT_EQ(buffer.readBytes(&c, 1), 1u);
  EXPECT_EQ(c, 'x');
  EXPECT_TRUE(buffer.atEnd());
}

TEST(AssetBuffer, LastByteLeavesCursorAtSizeButNotAtEnd) {
  AssetBuffer buffer;
  openText(buffer, "xyz");
  char out[3] = {};
  EXPECT_EQ(buffer.readBytes(out, 3), 3u);
  EXPECT_EQ(std::string(out, 3), "xyz");
  EXPECT_FALSE(buffer.atEnd());
  EXPECT_EQ(buffer.readBytes(out, 0), 0u);  // a count of 0 does nothing
  EXPECT_FALSE(buffer.atEnd());
  buffer.readBytes(out, 1);
  EXPECT_TRUE(buffer.atEnd());
}

TEST(AssetBuffer, ReadPastEndCopiesWhatExistsAndAdvancesFully) {
  AssetBuffer buffer;
  openText(buffer, "abcdef");
  buffer.seek(4, 0);
  char out[8];
  std::memset(out, '#', sizeof out);
  buffer.read(out, 2, 3);  // six bytes wanted, two exist
  EXPECT_EQ(std::string(out, 8), "ef######");
  EXPECT_EQ(buffer.cursor, 10u);
  EXPECT_TRUE(buffer.atEnd());
  std::memset(out, '#', sizeof out);
  EXPECT_EQ(buffer.readBytes(out, 4), 14u);
  EXPECT_EQ(std::string(out, 8), "########");
}

TEST(AssetBuffer, TypedReadsAreLittleEndianImages) {
  const std::uint8_t bytes[] = {0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0x80, 0x3F};
  AssetBuffer buffer;
  ASSERT_TRUE(buffer.openFromMemory(bytes, sizeof bytes));
  std::int32_t i = 0;
  float f = 0;
  buffer.read(&i, 4, 1).read(&f, 4, 1);
  EXPECT_EQ(i, 0x12345678);
  EXPECT_EQ(f, 1.0f);
  EXPECT_EQ(buffer.cursor, 8u);
}

TEST(AssetBuffer, SeekOrigins) {
  AssetBuffer buffer;
  openText(buffer, "0123456789");
  buffer.seek(0, 2);
  EXPECT_EQ(buffer.cursor, 10u);
  EXPECT_FALSE(buffer.atEnd());
  buffer.seek(4, 2);
  EXPECT_EQ(buffer.cursor, 6u);
  buffer.seek(-2, 1);
  EXPECT_EQ(buffer.cursor, 4u);
  buffer.seek(3, 0);
  EXPECT_EQ(buffer.cursor, 3u);
  buffer.seek(5, 7);  // unknown origin
  EXPECT_EQ(buffer.cursor, 3u);
  // Before the start lands far past the end: reads copy nothing.
  buffer.seek(-5, 1);
  EXPECT_TRUE(buffer.atEnd());
  char c = '#';
  buffer.readBytes(&c, 1);
  EXPECT_EQ(c, '#');
}

TEST(AssetBuffer, HugeReadsSaturateInsteadOfWrapping) {
  AssetBuffer buffer;
  openText(buffer, "abcd");
  char out[4] = {};
  buffer.read(out, 0x10000, 0x10000);  // 2^32 bytes: would wrap a 32-bit cursor to 0
  EXPECT_TRUE(buffer.atEnd());
  buffer.readBytes(out, 0xFFFFFFFFu);
  EXPECT_TRUE(buffer.atEnd());
  EXPECT_EQ(std::string(out, 4), "abcd");
}

// `reads` calls of readLine, each as "1:line" (more to come) or "0:line", joined by '|'.
std::string readLines(const std::string& text, int reads) {
  AssetBuffer buffer;
  openText(buffer, text);
  char line[AssetBuffer::lineCapacity];
  std::string out;
  for (int i = 0; i < reads; ++i)
    out += (i ? "|" : "") + std::string(buffer.readLine(line) ? "1:" : "0:") + line;
  return out;
}

TEST(AssetBuffer, ReadLineRules) {
  // Leading spaces go, CR LF ends a line, a line of spaces is empty, no line feed at the end.
  EXPECT_EQ(readLines("  abc\r\n\n   \nlast", 6), "1:abc|1:|1:|0:last|0:|0:");
  // A final line feed still reports more until the next read finds nothing.
  EXPECT_EQ(readLines("a b\n", 2), "1:a b|0:");
}

TEST(AssetBuffer, OverlongLineIsCutToTheBufferAndConsumed) {
  std::string text(300, 'q');
  text += "\nnext\n";
  AssetBuffer buffer;
  openText(buffer, text);
  char line[AssetBuffer::lineCapacity + 8];
  std::memset(line, '#', sizeof line);
  EXPECT_TRUE(buffer.readLine(line));
  EXPECT_EQ(std::strlen(line), AssetBuffer::lineCapacity - 1);
  EXPECT_EQ(line[AssetBuffer::lineCapacity], '#');  // nothing written beyond 128 bytes
  EXPECT_TRUE(buffer.readLine(line));
  EXPECT_STREQ(line, "next");
}

TEST(AssetBuffer, OpenOfMissingArchiveLeavesBufferEmpty) {
  AssetBuffer buffer;
  EXPECT_FALSE(buffer.openFromArchive("anything.txt", "/nonexistent/data.sdd"));
  EXPECT_EQ(buffer.data, nullptr);
  EXPECT_EQ(buffer.size, 0u);
}

}  // namespace
