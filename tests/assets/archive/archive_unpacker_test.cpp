// The unpacker on hand-written packed streams: the match and table rules, solid continuation,
// entries over 1 MiB, 4-channel audio, and damaged streams that must fail cleanly.

#include "assets/archive/archive_reader.h"
#include "tests/assets/archive/packed_stream_writer.h"
#include "tests/assets/archive/test_archive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace {

struct Unpacked {
  bool ok = false;
  ArchiveStatus status = ArchiveStatus::Ok;
  std::vector<std::uint8_t> bytes;
};

Unpacked unpack(const std::vector<std::uint8_t>& archive, const char* name) {
  std::unique_ptr<std::uint8_t[]> data;
  std::uint32_t size = 0;
  Unpacked u;
  u.ok = readArchiveEntryFromMemory(name, archive.data(), archive.size(), data, size, &u.status);
  if (u.ok) u.bytes.assign(data.get(), data.get() + size);
  return u;
}

Unpacked unpackOne(const std::vector<std::uint8_t>& packed,
                   const std::vector<std::uint8_t>& expected) {
  TestArchive a;
  a.packed("e", packed, expected);
  return unpack(a.bytes(), "e");
}

// Appends a match to a plain model of the output.
void model(std::vector<std::uint8_t>& out, std::uint32_t length, std::uint32_t distance) {
  for (std::uint32_t i = 0; i < length; ++i) out.push_back(out[out.size() - distance]);
}

TEST(ArchiveUnpacker, LiteralsAndOverlappingMatch) {
  PackedStreamWriter w;
  w.lzTables();
  w.literal('x');
  w.literal('a');
  w.match(10, 1);  // distance 1, length 10: one byte ten times
  w.literal('y');
  w.shortMatch(2);  // two bytes from two back
  Unpacked u = unpackOne(w.finish(), bytesOf("xaaaaaaaaaaay"
                                             "ay"));
  ASSERT_TRUE(u.ok) << archiveStatusText(u.status);
}

TEST(ArchiveUnpacker, MatchEndingExactlyAtTheSizeAndOneRunningPast) {
  PackedStreamWriter w;
  w.lzTables();
  w.literal('a');
  w.literal('b');
  w.match(8, 2);
  std::vector<std::uint8_t> packed = w.finish();
  EXPECT_TRUE(unpackOne(packed, bytesOf("ababababab")).ok);
  // The same stream for a 9-byte entry: its last match runs past the end.
  Unpacked over = unpackOne(packed, bytesOf("ababababa"));
  EXPECT_FALSE(over.ok);
}

TEST(ArchiveUnpacker, HistoryOfDistancesSurvivesTableReads) {
  PackedStreamWriter w;
  w.lzTables();
  for (char c : std::string("abcdefgh")) w.literal(static_cast<std::uint8_t>(c));
  w.match(3, 8);  // abc
  w.match(4, 5);  // defa (overlaps what it produces)
  w.lzSymbol(269);
  w.lzTables();
  w.repeatLast();       // last match again: length 4, distance 5
  w.oldDistance(3, 5);  // three matches back: distance 8, length 5
  w.shortMatch(1);
  std::vector<std::uint8_t> expected = bytesOf("abcdefgh");
  model(expected, 3, 8);
  model(expected, 4, 5);
  model(expected, 4, 5);
  model(expected, 5, 8);
  model(expected, 2, 1);
  Unpacked u = unpackOne(w.finish(), expected);
  ASSERT_TRUE(u.ok) << archiveStatusText(u.status);
}

TEST(ArchiveUnpacker, TablesCodedRelativeToThePreviousOnesOrToZeros) {
  std::vector<std::uint8_t> second(374, 9);
  second['q'] = 4;
  for (int i = 298; i < 346; ++i) second[i] = 6;
  for (int i = 346; i < 374; ++i) second[i] = 5;
  for (bool relative : {false, true}) {
    PackedStreamWriter w;
    w.lzTables();
    w.literal('p');
    w.lzSymbol(269);
    w.lzTables(second, relative);
    w.literal('q');
    w.literal('r');
    Unpacked u = unpackOne(w.finish(), bytesOf("pqr"));
    EXPECT_TRUE(u.ok) << relative;
  }
}

TEST(ArchiveUnpacker, EntryOverOneMebibyteWrapsTheWindow) {
  std::mt19937 random(7);
  PackedStreamWriter w;
  w.lzTables();
  std::vector<std::uint8_t> expected;
  for (int i = 0; i < 300000; ++i) {
    std::uint8_t b = static_cast<std::uint8_t>(random());
    w.literal(b);
    expected.push_back(b);
  }
  std::uint32_t steps[][2] = {{200, 290000}, {258, 0x40000}, {100, 0x2000}, {5, 0x101}};
  for (auto& s : steps) {
    w.match(s[0], s[1]);
    model(expected, s[0], s[1]);
  }
  while (expected.size() < 1300000) {
    w.match(260, 270001);
    model(expected, 260, 270001);
    w.repeatLast();
    model(expected, 260, 270001);
    w.literal(static_cast<std::uint8_t>(expected.size()));
    expected.push_back(static_cast<std::uint8_t>(expected.size()));
  }
  w.match(240, 1000000);  // far back across the wrap of the window
  model(expected, 240, 1000000);
  Unpacked u = unpackOne(w.finish(), expected);
  ASSERT_TRUE(u.ok) << archiveStatusText(u.status);
  EXPECT_EQ(u.bytes.size(), expected.size());
}

TEST(ArchiveUnpacker, SolidEntriesContinueTablesWindowAndHistory) {
  PackedStreamWriter w;
  w.lzTables();
  for (char c : std::string("solid state")) w.literal(static_cast<std::uint8_t>(c));
  std::vector<std::uint8_t> first = w.finish();
  w.match(5, 11);  // "solid" from the previous entry
  w.repeatLast();
  std::vector<std::uint8_t> second = w.finish();

  std::vector<std::uint8_t> both = bytesOf("solid state");
  model(both, 5, 11);
  model(both, 5, 11);
  std::vector<std::uint8_t> expected(both.begin() + 11, both.end());  // "solid stat"
  TestArchive a(true);
  a.packed("one", first, bytesOf("solid state")).packed("two", second, expected, true);
  Unpacked u = unpack(a.bytes(), "two");
  ASSERT_TRUE(u.ok) << archiveStatusText(u.status);
  EXPECT_TRUE(unpack(a.bytes(), "one").ok);

  // Without the archive's solid flag the first entry is not unpacked before the second.
  TestArchive notSolid(false);
  notSolid.packed("one", first, bytesOf("solid state")).packed("two", second, expected, true);
  EXPECT_FALSE(unpack(notSolid.bytes(), "two").ok);
}

TEST(ArchiveUnpacker, TableChangeAfterTheLastSymbolCarriesToTheNextEntry) {
  std::vector<std::uint8_t> other(374, 9);
  other['z'] = 3;
  for (int i = 298; i < 374; ++i) other[i] = 6;
  PackedStreamWriter w;
  w.lzTables();
  w.literal('a');
  w.lzSymbol(269);
  w.lzTables(other);
  std::vector<std::uint8_t> first = w.finish();
  w.literal('z');
  w.literal('z');
  std::vector<std::uint8_t> second = w.finish();
  TestArchive a(true);
  a.packed("one", first, bytesOf("a")).packed("two", second, bytesOf("zz"), true);
  Unpacked u = unpack(a.bytes(), "two");
  EXPECT_TRUE(u.ok) << archiveStatusText(u.status);
}

TEST(ArchiveUnpacker, FourChannelAudioRotatesChannelRecords) {
  // With fresh weights each channel predicts its own last byte, so after one error symbol per
  // channel, zero errors repeat each channel's byte: the pattern shows whose record was used.
  PackedStreamWriter w;
  w.audioTables(4);
  const std::uint8_t first[4] = {10, 20, 30, 40};
  for (std::uint8_t b : first) w.audioSymbol(static_cast<std::uint8_t>(-b));
  for (int i = 0; i < 4 * 7; ++i) w.audioSymbol(0);
  w.audioSymbol(256);  // back to LZ in the middle of the entry
  w.lzTables();
  w.literal('!');
  std::vector<std::uint8_t> expected;
  for (int i = 0; i < 8; ++i) expected.insert(expected.end(), first, first + 4);
  expected.push_back('!');
  Unpacked u = unpackOne(w.finish(), expected);
  ASSERT_TRUE(u.ok) << archiveStatusText(u.status);
}

TEST(ArchiveUnpacker, DistanceBeforeTheStartReadsTheZeroedWindow) {
  PackedStreamWriter w;
  w.lzTables();
  w.literal('a');
  w.match(5, 100);
  std::vector<std::uint8_t> expected = {'a', 0, 0, 0, 0, 0};
  EXPECT_TRUE(unpackOne(w.finish(), expected).ok);
}

TEST(ArchiveUnpacker, TruncatedStreamFailsAtEveryLength) {
  PackedStreamWriter w;
  w.lzTables();
  std::vector<std::uint8_t> expected;
  for (int i = 0; i < 600; ++i) {
    w.literal(static_cast<std::uint8_t>(i * 7));
    expected.push_back(static_cast<std::uint8_t>(i * 7));
  }
  w.match(200, 600);
  model(expected, 200, 600);
  std::vector<std::uint8_t> packed = w.finish();
  ASSERT_TRUE(unpackOne(packed, expected).ok);
  for (std::size_t length = 0; length < packed.size(); length += 7) {
    std::vector<std::uint8_t> cut(packed.begin(), packed.begin() + length);
    Unpacked u = unpackOne(cut, expected);
    EXPECT_FALSE(u.ok) << length;
  }
}

TEST(ArchiveUnpacker, StreamsThatNeverProduceOutputEndCleanly) {
  // Table reads and zero-length repeats consume input without producing a byte.
  PackedStreamWriter w;
  w.lzTables();
  for (int i = 0; i < 50; ++i) {
    w.lzSymbol(269);
    w.lzTables(true);
    w.lzSymbol(256);
  }
  Unpacked u = unpackOne(w.finish(), bytesOf("0123456789"));
  EXPECT_FALSE(u.ok);
  EXPECT_EQ(u.status, ArchiveStatus::DataError);
}

TEST(ArchiveUnpacker, OverSubscribedAndEmptyTablesFailCleanly) {
  std::vector<std::uint8_t> expected(5000, 'k');
  for (std::uint8_t length : {1, 0, 15}) {
    PackedStreamWriter w;
    w.bits(0, 2);
    for (int i = 0; i < 19; ++i)
      w.bits(length == 15 ? 1 : length, 4);  // pre-table over-subscribed, empty or full of 1s
    for (int i = 0; i < 2000; ++i) w.bits(0x5A, 8);
    Unpacked u = unpackOne(w.finish(), expected);
    EXPECT_FALSE(u.ok) << int(length);
  }
}

TEST(ArchiveUnpacker, MatchesAtEveryShortDistanceCopyLikeTheByteRule) {
  // Distances 1 to 17 meet each way of copying (fill, bytes, 8-byte and 16-byte chunks with
  // a blended tail); the lengths end on and beside the chunk widths.
  std::mt19937 random(3);
  PackedStreamWriter w;
  w.lzTables();
  std::vector<std::uint8_t> expected;
  for (int i = 0; i < 40; ++i) {
    expected.push_back(static_cast<std::uint8_t>(random()));
    w.literal(expected.back());
  }
  for (std::uint32_t distance = 1; distance <= 17; ++distance)
    for (std::uint32_t length : {3u, 7u, 8u, 9u, 15u, 16u, 17u, 33u, 258u}) {
      w.match(length, distance);
      model(expected, length, distance);
      w.literal(static_cast<std::uint8_t>(distance * 31 + length));
      expected.push_back(static_cast<std::uint8_t>(distance * 31 + length));
    }
  Unpacked u = unpackOne(w.finish(), expected);
  ASSERT_TRUE(u.ok) << archiveStatusText(u.status);
}

TEST(ArchiveUnpacker, MatchesAtAndAcrossTheWindowEnd) {
  // Fill the window to just short of its end with long matches over a random start, then
  // copy up to, beside and across the end, overlapping and not.
  constexpr std::size_t window = 1u << 20;
  std::mt19937 random(9);
  PackedStreamWriter w;
  w.lzTables();
  std::vector<std::uint8_t> expected;
  for (int i = 0; i < 1000; ++i) {
    expected.push_back(static_cast<std::uint8_t>(random()));
    w.literal(expected.back());
  }
  while (expected.size() + 258 < window - 60) {
    w.match(258, 999);
    model(expected, 258, 999);
  }
  while (expected.size() < window - 60) {
    w.literal('w');
    expected.push_back('w');
  }
  // 60 bytes left: chunks whose blended tail would pass the end, then two across it; behind
  // the end, one match reads the bytes a whole window back, starting just past the one before.
  const std::uint32_t steps[][2] = {{35, 100}, {20, 3},  {30, 700},
                                    {40, 5},   {20, 30}, {10, 1u << 20}};
  for (const auto& step : steps) {
    w.match(step[0], step[1]);
    model(expected, step[0], step[1]);
  }
  Unpacked u = unpackOne(w.finish(), expected);
  ASSERT_TRUE(u.ok) << archiveStatusText(u.status);
}

TEST(ArchiveUnpacker, OnePassReadsGiveWhatSingleReadsGive) {
  // A solid chain with a stored entry inside it and, in one variant, an entry claiming far
  // more bytes than its packed data can give: that entry and every later one are refused
  // before anything is decoded, by single reads and by the one-pass read alike.
  PackedStreamWriter w;
  w.lzTables();
  for (char c : std::string("abcdefgh")) w.literal(static_cast<std::uint8_t>(c));
  std::vector<std::uint8_t> first = w.finish();
  w.match(8, 8);
  std::vector<std::uint8_t> second = w.finish();
  w.match(4, 3);
  std::vector<std::uint8_t> third = w.finish();
  for (bool oversized : {false, true}) {
    for (bool solid : {true, false}) {
      TestArchive a(solid);
      a.packed("one", first, bytesOf("abcdefgh")).stored("plain", bytesOf("stored"));
      TestEntry huge;
      huge.name = "huge";
      huge.packed = {1, 2, 3};
      huge.unpSize = 0x7FFFFFFF;
      huge.method = 0x35;
      huge.flags |= 0x0010;
      if (oversized) a.entry(huge);
      a.packed("two", second, bytesOf("abcdefgh"), true)
          .packed("three", third, bytesOf("fghf"), true);
      const std::vector<std::uint8_t>& bytes = a.bytes();
      for (bool everyEntry : {true, false}) {
        SCOPED_TRACE(testing::Message() << oversized << solid << everyEntry);
        std::uint32_t taken = 0;
        ArchiveStatus walked = readArchiveEntriesFromMemory(
            bytes.data(), bytes.size(),
            [&](std::uint32_t i, const ArchiveEntryInfo&) { return everyEntry || i % 2 == 1; },
            [&](std::uint32_t i, const ArchiveEntryInfo& info, ArchiveStatus status,
                std::unique_ptr<std::uint8_t[]>& data, std::uint32_t size) {
              ++taken;
              std::unique_ptr<std::uint8_t[]> single;
              std::uint32_t singleSize = 0;
              ArchiveStatus singleStatus = ArchiveStatus::Ok;
              readArchiveEntryAtFromMemory(i, bytes.data(), bytes.size(), single, singleSize,
                                           &singleStatus);
              EXPECT_EQ(status, singleStatus) << info.name;
              bool refused = oversized && (solid ? i >= 2 : i == 2);
              EXPECT_EQ(status == ArchiveStatus::TooLarge, refused) << info.name;
              EXPECT_EQ(status == ArchiveStatus::Ok, !refused && (solid || i < 2)) << info.name;
              EXPECT_EQ(size, singleSize);
              if (status == ArchiveStatus::Ok)
                EXPECT_EQ(0, std::memcmp(data.get(), single.get(), size)) << info.name;
              return true;
            });
        EXPECT_EQ(walked, ArchiveStatus::Ok);
        std::uint32_t count = oversized ? 5 : 4;
        EXPECT_EQ(taken, everyEntry ? count : count / 2);
      }
    }
  }
}

}  // namespace
