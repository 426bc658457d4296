#include "assets/archive/archive_walk.h"

#include "assets/archive/archive_format.h"
#include "assets/archive/crc32.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Every output byte costs at least one bit of packed data, and one symbol yields at most
// 260 bytes, so more than this many bytes per packed byte cannot be genuine.
constexpr std::uint64_t maxBytesPerPackedByte = 8 * 260;

std::uint16_t get16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

ArchiveStatus checkEntryBounds(const ArchiveEntryInfo& info) {
  if (info.unpVer < 13 || info.unpVer > 20) return ArchiveStatus::UnsupportedVersion;
  std::uint64_t bound = info.method == storedMethod
                            ? std::uint64_t{info.packSize}
                            : std::uint64_t{info.packSize} * maxBytesPerPackedByte;
  if (info.unpSize > maxArchiveEntrySize || info.unpSize > bound)
    return info.method == storedMethod && info.unpSize <= maxArchiveEntrySize
               ? ArchiveStatus::Incomplete
               : ArchiveStatus::TooLarge;
  return ArchiveStatus::Ok;
}

ArchiveStatus ArchiveWalk::open() {
  std::uint8_t marker[7];
  if (source_.read(marker, 7) < 7) return ArchiveStatus::Truncated;
  // Files with neither marker (including the old RE~^ format) are refused outright.
  if (std::memcmp(marker, rarMarker, 7) != 0 && std::memcmp(marker, altMarker, 7) != 0)
    return ArchiveStatus::NotAnArchive;
  std::uint8_t main[13];
  if (source_.read(main, 13) < 13) return ArchiveStatus::Truncated;
  std::uint16_t headSize = get16(main + 5);
  if (headSize < 13) return ArchiveStatus::DamagedHeader;
  solid_ = (get16(main + 3) & solidArchiveFlag) != 0;
  source_.seek(source_.tell() + headSize - 13);
  return ArchiveStatus::Ok;
}

WalkStep ArchiveWalk::next(FileBlock& block) {
  for (;;) {
    std::uint64_t position = source_.tell();
    std::uint8_t header[fileHeaderSize] = {};
    std::size_t got = source_.read(header, fileHeaderSize);
    if (got == 0) return WalkStep::End;
    std::uint8_t type = got >= 3 ? header[2] : 0;
    std::uint16_t flags = got >= 5 ? get16(header + 3) : 0;
    std::uint16_t headSize = got >= 7 ? get16(header + 5) : 0;
    if (got < fileHeaderSize) {
      // A short tail: a closing block of another type is fine, anything else is cut off.
      bool closing = got >= 7 && type != fileBlock && headSize >= 7 &&
                     (flags & longBlockFlag) == 0 && position + headSize <= source_.size();
      if (!closing) status_ = ArchiveStatus::Truncated;
      return WalkStep::End;
    }
    if (headSize < 7) {
      status_ = ArchiveStatus::DamagedHeader;
      return WalkStep::Failed;
    }
    std::uint64_t nextBlock = position + headSize;
    if (flags & longBlockFlag) nextBlock += get32(header + 7);
    if (type == subBlock) {
      source_.seek(position);
      return WalkStep::End;
    }
    if (type != fileBlock) {
      source_.seek(nextBlock);
      continue;
    }
    ArchiveEntryInfo& info = block.info;
    info.flags = flags;
    info.packSize = get32(header + 7);
    info.unpSize = get32(header + 11);
    info.hostOs = header[15];
    info.fileCrc = get32(header + 16);
    info.fileTime = get32(header + 20);
    info.unpVer = header[24];
    info.method = header[25];
    block.fullNameSize = get16(header + 26);
    info.attr = get32(header + 28);
    std::size_t nameSize = std::min<std::size_t>(block.fullNameSize, maxArchiveNameLength);
    info.name.assign(nameSize, '\0');
    if (source_.read(info.name.data(), nameSize) < nameSize) {
      status_ = ArchiveStatus::Truncated;
      return WalkStep::Failed;
    }
    info.nameSize = static_cast<std::uint16_t>(nameSize);
    block.position = position;
    block.headSize = headSize;
    block.dataStart = position + headSize;
    info.dataOffset = block.dataStart;
    block.next = nextBlock;
    return WalkStep::File;
  }
}

ArchiveStatus ArchiveWalk::unpack(const FileBlock& block, std::uint8_t* output,
                                  std::uint32_t& produced) {
  const ArchiveEntryInfo& info = block.info;
  produced = 0;
  if (info.unpVer < 13 || info.unpVer > 20) return ArchiveStatus::UnsupportedVersion;
  // The packed data is taken from the end of the header; for the headers this reader is
  // meant for that is directly after the name, and a header too short to hold its own name
  // is damaged.
  if (block.headSize < fileHeaderSize + block.fullNameSize) return ArchiveStatus::DamagedHeader;
  if (block.dataStart + info.packSize > source_.size()) return ArchiveStatus::DataOutsideArchive;
  source_.seek(block.dataStart);

  if (info.method == storedMethod) {
    if (output != nullptr)
      produced =
          static_cast<std::uint32_t>(source_.read(output, std::min(info.unpSize, info.packSize)));
    return ArchiveStatus::Ok;
  }
  bool continuation = (info.flags & solidEntryFlag) != 0;
  // Outside a solid archive an entry continues from nothing, as when it is read alone: a
  // solid-flagged one there must not see the entries decoded before it in the same walk.
  if (!solid_ && continuation && unpackerUsed_) unpacker_.reset();
  if (!unpacker_) {
    unpackerUsed_ = false;
    unpacker_.reset(new (std::nothrow) ArchiveUnpacker);
    if (!unpacker_ || !unpacker_->allocate()) {
      unpacker_.reset();
      return ArchiveStatus::OutOfMemory;
    }
  }
  unpackerUsed_ = true;
  bool clean =
      unpacker_->unpackEntry(source_, info.packSize, info.unpSize, continuation, output, produced);
  return clean ? ArchiveStatus::Ok : ArchiveStatus::DataError;
}

ArchiveStatus ArchiveWalk::read(const FileBlock& block, std::unique_ptr<std::uint8_t[]>& buffer,
                                std::uint32_t& size) {
  const ArchiveEntryInfo& info = block.info;
  ArchiveStatus bounds = checkEntryBounds(info);
  if (bounds != ArchiveStatus::Ok) return bounds;
  // Not zero-filled: the entry is only accepted once every byte has been produced, and
  // untouched pages of a large refused entry then cost nothing.
  std::unique_ptr<std::uint8_t[]> output(new (std::nothrow)
                                             std::uint8_t[info.unpSize == 0 ? 1 : info.unpSize]);
  if (!output) return ArchiveStatus::OutOfMemory;
  std::uint32_t produced = 0;
  ArchiveStatus unpacked = unpack(block, output.get(), produced);
  if (unpacked != ArchiveStatus::Ok) return unpacked;
  if (produced != info.unpSize) return ArchiveStatus::Incomplete;
  if ((crc32(0xFFFFFFFFu, output.get(), info.unpSize) ^ 0xFFFFFFFFu) != info.fileCrc)
    return ArchiveStatus::CrcMismatch;
  buffer = std::move(output);
  size = produced;
  return ArchiveStatus::Ok;
}

void ArchiveWalk::passOver(const FileBlock& block) {
  std::uint32_t ignored = 0;
  unpack(block, nullptr, ignored);
}
