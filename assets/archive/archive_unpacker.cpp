#include "assets/archive/archive_unpacker.h"

#include "assets/archive/archive_format.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr int literalCount = 298;
constexpr int distanceCount = 48;
constexpr int repeatCount = 28;
constexpr int audioCount = 257;
constexpr int tableCodeCount = 19;
constexpr int lzTableSize = literalCount + distanceCount + repeatCount;  // 374

// Refill thresholds: each leaves room for the most bits one step can take.
constexpr int loopRefill = 8162;
constexpr int tableRefill = 8167;
constexpr int tableSymbolRefill = 8187;
// The window is flushed once the unpack position comes this close behind the write position;
// it exceeds the longest match (260).
constexpr std::uint32_t flushMargin = 270;

}  // namespace

ArchiveUnpacker::ArchiveUnpacker() = default;
ArchiveUnpacker::~ArchiveUnpacker() = default;

bool ArchiveUnpacker::allocate() {
  // Zeroed: a solid continuation with nothing before it starts from an empty window. calloc
  // takes fresh pages from the system without touching them.
  window_.reset(static_cast<std::uint8_t*>(std::calloc(windowSize, 1)));
  dirty_ = 0;
  return window_ != nullptr;
}

void ArchiveUnpacker::reset() {
  currentChannel_ = 0;
  channelDelta_ = 0;
  for (AudioChannel& channel : audioChannels_) channel = AudioChannel();
  std::memset(oldDistances_, 0, sizeof oldDistances_);
  oldDistanceIndex_ = 0;
  lastLength_ = 0;
  lastDistance_ = 0;
  std::memset(window_.get(), 0, dirty_);
  dirty_ = 0;
  std::memset(previousLengths_, 0, sizeof previousLengths_);
  unpackPosition_ = 0;
  writePosition_ = 0;
}

void ArchiveUnpacker::readTables() {
  if (input_.address() > tableRefill) input_.refill();
  std::uint32_t bits = input_.peek();
  audio_ = (bits & 0x8000) != 0;
  if ((bits & 0x4000) == 0) std::memset(previousLengths_, 0, sizeof previousLengths_);
  input_.skip(2);

  int tableSize = lzTableSize;
  if (audio_) {
    channels_ = static_cast<int>((bits >> 12) & 3) + 1;
    if (currentChannel_ >= channels_) currentChannel_ = 0;
    input_.skip(2);
    tableSize = audioCount * channels_;
  }

  std::uint8_t tableLengths[tableCodeCount];
  for (std::uint8_t& length : tableLengths) {
    length = static_cast<std::uint8_t>(input_.peek() >> 12);
    input_.skip(4);
  }
  tableDecoder_.build(tableLengths, tableCodeCount);

  // New lengths replace the previous ones in place; positions beyond this table keep theirs.
  std::uint8_t* lengths = previousLengths_;
  int i = 0;
  while (i < tableSize) {
    if (input_.address() > tableSymbolRefill) input_.refill();
    int symbol = tableDecoder_.decode(input_);
    if (symbol < 16) {
      lengths[i] = static_cast<std::uint8_t>((symbol + lengths[i]) & 15);
      ++i;
    } else if (symbol == 16) {
      int count = static_cast<int>(input_.peek() >> 14) + 3;
      input_.skip(2);
      // A repeat at the very first position repeats a zero length.
      for (; count > 0 && i < tableSize; --count, ++i) lengths[i] = i > 0 ? lengths[i - 1] : 0;
    } else {
      int count;
      if (symbol == 17) {
        count = static_cast<int>(input_.peek() >> 13) + 3;
        input_.skip(3);
      } else {
        count = static_cast<int>(input_.peek() >> 9) + 11;
        input_.skip(7);
      }
      for (; count > 0 && i < tableSize; --count, ++i) lengths[i] = 0;
    }
  }

  if (audio_) {
    for (int c = 0; c < channels_; ++c)
      audioDecoders_[c].build(lengths + audioCount * c, audioCount);
  } else {
    literalDecoder_.build(lengths, literalCount);
    distanceDecoder_.build(lengths + literalCount, distanceCount);
    repeatDecoder_.build(lengths + literalCount + distanceCount, repeatCount);
  }
}

void ArchiveUnpacker::flush() {
  std::uint32_t count = (unpackPosition_ - writePosition_) & windowMask;
  if (output_ != nullptr && count != 0) {
    if (static_cast<std::uint64_t>(produced_) + count > outputSize_) {
      // More output than the entry holds: nothing is copied and unpacking stops.
      remaining_ = -1;
      failed_ = true;
    } else {
      std::uint32_t first = windowSize - writePosition_;
      if (first > count) first = count;
      std::memcpy(output_ + produced_, window_.get() + writePosition_, first);
      std::memcpy(output_ + produced_ + first, window_.get(), count - first);
      produced_ += count;
    }
  }
  advanceWrite();
}

void ArchiveUnpacker::advanceWrite() {
  // The bytes from the write position to the unpack position have been written; the flush
  // margin keeps the unpack position from ever catching up with the write position.
  if (unpackPosition_ < writePosition_)
    dirty_ = windowSize;
  else if (unpackPosition_ > dirty_)
    dirty_ = unpackPosition_;
  writePosition_ = unpackPosition_;
}

namespace {

typedef std::uint8_t Bytes16 __attribute__((vector_size(16)));
typedef std::int8_t Lanes16 __attribute__((vector_size(16)));

// Copies count (< 16) bytes; the 16 bytes at `out` must be readable and writable, and
// `in` must lie 16 or more bytes before `out`.
inline void blendCopy(std::uint8_t* out, const std::uint8_t* in, std::uint32_t count) {
  constexpr Lanes16 lane = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  Bytes16 source, target;
  std::memcpy(&source, in, 16);
  std::memcpy(&target, out, 16);
  Bytes16 take = reinterpret_cast<Bytes16>(lane < static_cast<std::int8_t>(count));
  target = (source & take) | (target & ~take);
  std::memcpy(out, &target, 16);
}

// Copies a match inside the window and returns the position after it, not masked: a match
// that wraps returns a value past the window's end.
inline std::uint32_t copyMatch(std::uint8_t* window, std::uint32_t to, std::uint32_t length,
                               std::uint32_t distance) {
  constexpr std::uint32_t size = ArchiveUnpacker::windowSize;
  constexpr std::uint32_t mask = ArchiveUnpacker::windowMask;
  std::uint32_t from = (to - distance) & mask;
  if (from < to && to + length <= size) {
    // Neither end wraps. Each chunk reads only bytes that lie before the chunk it writes,
    // so chunks give what the byte rule gives; nothing is written past the match.
    std::uint8_t* out = window + to;
    const std::uint8_t* in = window + from;
    std::uint32_t gap = to - from;
    std::uint32_t k = 0;
    if (gap >= 16) {
      for (; k + 16 <= length; k += 16) std::memcpy(out + k, in + k, 16);
      if (k < length && to + k + 16 <= size) {
        // The short rest as one 16-byte store that writes back the bytes beyond the match
        // as they were.
        blendCopy(out + k, in + k, length - k);
        k = length;
      }
    } else if (gap >= 8) {
      for (; k + 8 <= length; k += 8) std::memcpy(out + k, in + k, 8);
    } else if (gap == 1) {
      std::memset(out, *in, length);
      k = length;
    }
    for (; k < length; ++k) out[k] = in[k];
    return to + length;
  }
  std::uint32_t at = to;
  for (std::uint32_t k = 0; k < length; ++k) {
    window[at] = window[from];
    at = (at + 1) & mask;
    from = (from + 1) & mask;
  }
  return to + length;
}

// n (0..16) extra bits at the read point; n = 0 reads nothing.
inline std::uint32_t extraBits(const std::uint8_t* buffer, std::uint32_t& position, int n) {
  std::uint32_t value = BitInput::peekAt(buffer, position) >> (16 - n);
  position += static_cast<std::uint32_t>(n);
  return value;
}

}  // namespace

ArchiveUnpacker::Run ArchiveUnpacker::startRun() const {
  // The main loop's checks before each symbol, turned into two limits: the read point must
  // stay below the refill threshold and within the real bytes, and the unpack position below
  // the point where the flush becomes due, the entry is complete, or the window ends (the
  // main loop masks the position there). The main loop has just made the checks, so each
  // run decodes at least one symbol.
  Run run;
  run.position = input_.position;
  run.positionLimit = std::min<std::int64_t>((loopRefill + 1) * 8, input_.validBits() + 1);
  run.start = unpackPosition_;
  std::uint64_t room = windowSize - unpackPosition_;
  if (writePosition_ != unpackPosition_) {
    std::uint32_t ahead = (writePosition_ - unpackPosition_) & windowMask;
    room = std::min<std::uint64_t>(room, ahead - (flushMargin - 1));
  } else {
    room = std::min<std::uint64_t>(room, windowSize - (flushMargin - 1));
  }
  room = std::min<std::uint64_t>(room, static_cast<std::uint64_t>(remaining_) + 1);
  run.stop = unpackPosition_ + static_cast<std::uint32_t>(room);
  return run;
}

void ArchiveUnpacker::endRun(const Run& run, std::uint32_t position, std::uint32_t unpack) {
  input_.position = position;
  remaining_ -= unpack - run.start;
  unpackPosition_ = unpack;
}

void ArchiveUnpacker::runLz() {
  const Run run = startRun();
  const std::uint8_t* buffer = input_.buffer();
  std::uint8_t* window = window_.get();
  std::uint32_t position = run.position;
  std::uint32_t unpack = run.start;
  bool tables = false;

  while (unpack < run.stop && static_cast<std::int64_t>(position) < run.positionLimit) {
    int symbol = literalDecoder_.decodeAt(buffer, position);
    if (symbol < 256) {
      window[unpack++] = static_cast<std::uint8_t>(symbol);
      continue;
    }
    if (symbol == 269) {
      tables = true;
      break;
    }
    std::uint32_t length;
    std::uint32_t distance;
    if (symbol == 256) {
      length = lastLength_;
      distance = lastDistance_;
    } else if (symbol < 261) {
      distance = oldDistances_[(oldDistanceIndex_ - static_cast<std::uint32_t>(symbol - 256)) & 3];
      int r = repeatDecoder_.decodeAt(buffer, position);
      length = lengthBase[r] + 2u + extraBits(buffer, position, lengthBits[r]);
      length += (distance >= 0x101) + (distance >= 0x2000) + (distance >= 0x40000);
    } else if (symbol < 269) {
      int i = symbol - 261;
      distance = shortBase[i] + 1u + extraBits(buffer, position, shortBits[i]);
      length = 2;
    } else {
      int i = symbol - 270;
      length = lengthBase[i] + 3u + extraBits(buffer, position, lengthBits[i]);
      int d = distanceDecoder_.decodeAt(buffer, position);
      distance = distanceBase[d] + 1u + extraBits(buffer, position, distanceBits[d]);
      length += (distance >= 0x2000) + (distance >= 0x40000);
    }
    oldDistances_[oldDistanceIndex_ & 3] = distance;
    ++oldDistanceIndex_;
    lastDistance_ = distance;
    lastLength_ = length;
    unpack = copyMatch(window, unpack, length, distance);
  }
  endRun(run, position, unpack);
  if (tables) readTables();
}

void ArchiveUnpacker::runAudio() {
  const Run run = startRun();
  const std::uint8_t* buffer = input_.buffer();
  std::uint8_t* window = window_.get();
  std::uint32_t position = run.position;
  std::uint32_t unpack = run.start;
  int channel = currentChannel_;
  int delta = channelDelta_;
  const int channels = channels_;
  bool tables = false;
  // The predictors work on copies: kept apart from the window, whose byte stores could
  // otherwise alias them, they stay in registers.
  AudioChannel local[4];
  std::copy(audioChannels_, audioChannels_ + channels, local);

  if (channels == 1) {
    AudioChannel one = local[0];
    while (unpack < run.stop && static_cast<std::int64_t>(position) < run.positionLimit) {
      int symbol = audioDecoders_[0].decodeAt(buffer, position);
      if (symbol == 256) {
        tables = true;
        break;
      }
      window[unpack++] = one.decode(symbol, delta);
    }
    local[0] = one;
  } else {
    while (unpack < run.stop && static_cast<std::int64_t>(position) < run.positionLimit) {
      int symbol = audioDecoders_[channel].decodeAt(buffer, position);
      if (symbol == 256) {
        tables = true;
        break;
      }
      window[unpack++] = local[channel].decode(symbol, delta);
      if (++channel == channels) channel = 0;
    }
  }
  std::copy(local, local + channels, audioChannels_);
  endRun(run, position, unpack);
  currentChannel_ = channel;
  channelDelta_ = delta;
  if (tables) readTables();
}

bool ArchiveUnpacker::unpackEntry(ArchiveSource& source, std::uint32_t packSize,
                                  std::uint32_t unpSize, bool continuation, std::uint8_t* output,
                                  std::uint32_t& produced) {
  output_ = output;
  outputSize_ = unpSize;
  produced_ = 0;
  failed_ = false;
  remaining_ = static_cast<std::int64_t>(unpSize) - 1;

  if (!continuation) reset();
  input_.start(source, packSize);
  if (!continuation) readTables();

  while (remaining_ >= 0) {
    if (input_.overrun()) {
      // The packed bytes are used up but the entry is not complete.
      failed_ = true;
      break;
    }
    unpackPosition_ &= windowMask;
    if (input_.address() > loopRefill) input_.refill();
    if (writePosition_ != unpackPosition_ &&
        ((writePosition_ - unpackPosition_) & windowMask) < flushMargin) {
      flush();
      if (failed_) break;
    }
    if (audio_)
      runAudio();
    else
      runLz();
  }
  unpackPosition_ &= windowMask;

  if (!failed_) {
    // A table change placed after the last symbol of the entry.
    if (input_.readTop >= input_.address() + 5) {
      if (audio_) {
        if (audioDecoders_[currentChannel_].decode(input_) == 256) readTables();
      } else if (literalDecoder_.decode(input_) == 269) {
        readTables();
      }
    }
    flush();
  } else {
    advanceWrite();
  }

  produced = produced_;
  output_ = nullptr;
  return !failed_;
}
