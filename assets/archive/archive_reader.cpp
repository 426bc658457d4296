#include "assets/archive/archive_reader.h"

#include "assets/archive/archive_format.h"
#include "assets/archive/archive_source.h"
#include "assets/archive/archive_unpacker.h"
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

std::string normaliseName(const char* name, std::size_t limit) {
  std::string out;
  for (std::size_t i = 0; name[i] != '\0' && i < limit; ++i) {
    char c = name[i];
    if (c == '\\' || c == '/')
      c = '_';
    else if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
    out.push_back(c);
  }
  return out;
}

// One file block met by the walk.
struct FileBlock {
  ArchiveEntryInfo info;
  std::uint64_t position = 0;   // start of the block
  std::uint64_t dataStart = 0;  // first packed byte
  std::uint64_t next = 0;       // start of the following block
  std::uint32_t fullNameSize = 0;
  std::uint16_t headSize = 0;
};

enum class Step { File, End, Failed };

// The reader's working state for one call: the open source, the main header's solid flag and
// (only when something is compressed) the unpacker.
class ArchiveWalk {
 public:
  explicit ArchiveWalk(ArchiveSource& source) : source_(source) {}
  virtual ~ArchiveWalk() = default;

  ArchiveStatus open();
  // Moves to the next file block; End at the end of the archive or a sub-block.
  Step next(FileBlock& block);
  ArchiveStatus status() const { return status_; }

  // Unpacks (or, for a stored entry, copies) the block's data. With output null the entry is
  // only run through the unpacker for its effect on the solid state.
  ArchiveStatus unpack(const FileBlock& block, std::uint8_t* output, std::uint32_t& produced);

  bool solid() const { return solid_; }

 private:
  ArchiveSource& source_;
  ArchiveStatus status_ = ArchiveStatus::Ok;
  bool solid_ = false;
  std::unique_ptr<ArchiveUnpacker> unpacker_;
};

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

Step ArchiveWalk::next(FileBlock& block) {
  for (;;) {
    std::uint64_t position = source_.tell();
    std::uint8_t header[fileHeaderSize] = {};
    std::size_t got = source_.read(header, fileHeaderSize);
    if (got == 0) return Step::End;
    std::uint8_t type = got >= 3 ? header[2] : 0;
    std::uint16_t flags = got >= 5 ? get16(header + 3) : 0;
    std::uint16_t headSize = got >= 7 ? get16(header + 5) : 0;
    if (got < fileHeaderSize) {
      // A short tail: a closing block of another type is fine, anything else is cut off.
      bool closing = got >= 7 && type != fileBlock && headSize >= 7 &&
                     (flags & longBlockFlag) == 0 && position + headSize <= source_.size();
      if (!closing) status_ = ArchiveStatus::Truncated;
      return Step::End;
    }
    if (headSize < 7) {
      status_ = ArchiveStatus::DamagedHeader;
      return Step::Failed;
    }
    std::uint64_t nextBlock = position + headSize;
    if (flags & longBlockFlag) nextBlock += get32(header + 7);
    if (type == subBlock) {
      source_.seek(position);
      return Step::End;
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
      return Step::Failed;
    }
    info.nameSize = static_cast<std::uint16_t>(nameSize);
    block.position = position;
    block.headSize = headSize;
    block.dataStart = position + headSize;
    info.dataOffset = block.dataStart;
    block.next = nextBlock;
    return Step::File;
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
  if (!unpacker_) {
    unpacker_.reset(new (std::nothrow) ArchiveUnpacker);
    if (!unpacker_ || !unpacker_->allocate()) {
      unpacker_.reset();
      return ArchiveStatus::OutOfMemory;
    }
  }
  bool continuation = (info.flags & solidEntryFlag) != 0;
  bool clean =
      unpacker_->unpackEntry(source_, info.packSize, info.unpSize, continuation, output, produced);
  return clean ? ArchiveStatus::Ok : ArchiveStatus::DataError;
}

// Which entry a read wants: by name, or by its place in the listing.
struct EntryWanted {
  const char* name = nullptr;
  std::uint32_t index = 0;
};

ArchiveStatus readEntry(ArchiveSource& source, const EntryWanted& wanted,
                        std::unique_ptr<std::uint8_t[]>& buffer, std::uint32_t& size) {
  std::string wantedName;
  if (wanted.name != nullptr) {
    if (std::strlen(wanted.name) > maxArchiveNameLength) return ArchiveStatus::BadName;
    wantedName = normaliseName(wanted.name, maxArchiveNameLength);
  }
  ArchiveWalk walk(source);
  ArchiveStatus opened = walk.open();
  if (opened != ArchiveStatus::Ok) return opened;

  FileBlock block;
  for (std::uint32_t index = 0;; ++index) {
    Step step = walk.next(block);
    if (step == Step::Failed) return walk.status();
    if (step == Step::End)
      return walk.status() == ArchiveStatus::Ok ? ArchiveStatus::NotFound : walk.status();
    const ArchiveEntryInfo& info = block.info;
    bool match = wanted.name != nullptr
                     ? normaliseName(info.name.c_str(), maxArchiveNameLength) == wantedName
                     : index == wanted.index;
    if (match) {
      if (info.unpVer < 13 || info.unpVer > 20) return ArchiveStatus::UnsupportedVersion;
      std::uint64_t bound = info.method == storedMethod
                                ? std::uint64_t{info.packSize}
                                : std::uint64_t{info.packSize} * maxBytesPerPackedByte;
      if (info.unpSize > maxArchiveEntrySize || info.unpSize > bound)
        return info.method == storedMethod && info.unpSize <= maxArchiveEntrySize
                   ? ArchiveStatus::Incomplete
                   : ArchiveStatus::TooLarge;
      // Not zero-filled: the entry is only accepted once every byte has been produced,
      // and untouched pages of a large refused entry then cost nothing.
      std::unique_ptr<std::uint8_t[]> output(
          new (std::nothrow) std::uint8_t[info.unpSize == 0 ? 1 : info.unpSize]);
      if (!output) return ArchiveStatus::OutOfMemory;
      std::uint32_t produced = 0;
      ArchiveStatus unpacked = walk.unpack(block, output.get(), produced);
      if (unpacked != ArchiveStatus::Ok) return unpacked;
      if (produced != info.unpSize) return ArchiveStatus::Incomplete;
      if ((crc32(0xFFFFFFFFu, output.get(), info.unpSize) ^ 0xFFFFFFFFu) != info.fileCrc)
        return ArchiveStatus::CrcMismatch;
      buffer = std::move(output);
      size = produced;
      return ArchiveStatus::Ok;
    }
    if (walk.solid()) {
      // Only the version can fail an earlier entry; damage in it shows up in the
      // wanted entry's CRC.
      std::uint32_t ignored = 0;
      if (walk.unpack(block, nullptr, ignored) == ArchiveStatus::UnsupportedVersion)
        return ArchiveStatus::UnsupportedVersion;
    }
    source.seek(block.next);
  }
}

bool finishRead(ArchiveStatus result, std::unique_ptr<std::uint8_t[]>& buffer, std::uint32_t& size,
                ArchiveStatus* status) {
  if (status != nullptr) *status = result;
  if (result != ArchiveStatus::Ok) {
    buffer.reset();
    size = 0;
  }
  return result == ArchiveStatus::Ok;
}

bool readFromFile(const EntryWanted& wanted, const char* archivePath,
                  std::unique_ptr<std::uint8_t[]>& buffer, std::uint32_t& size,
                  ArchiveStatus* status) {
  buffer.reset();
  size = 0;
  ArchiveSource source;
  if (!source.openFile(archivePath))
    return finishRead(ArchiveStatus::CannotOpen, buffer, size, status);
  return finishRead(readEntry(source, wanted, buffer, size), buffer, size, status);
}

bool readFromMemory(const EntryWanted& wanted, const std::uint8_t* archive, std::size_t archiveSize,
                    std::unique_ptr<std::uint8_t[]>& buffer, std::uint32_t& size,
                    ArchiveStatus* status) {
  buffer.reset();
  size = 0;
  ArchiveSource source;
  source.openMemory(archive, archiveSize);
  return finishRead(readEntry(source, wanted, buffer, size), buffer, size, status);
}

std::uint32_t listEntries(ArchiveSource& source, ArchiveList& entries, ArchiveStatus& status) {
  ArchiveWalk walk(source);
  status = walk.open();
  if (status != ArchiveStatus::Ok) return 0;
  FileBlock block;
  while (walk.next(block) == Step::File) {
    entries.push_back(block.info);
    source.seek(block.next);
  }
  status = walk.status();
  return static_cast<std::uint32_t>(entries.size());
}

}  // namespace

const char* archiveStatusText(ArchiveStatus status) {
  switch (status) {
    case ArchiveStatus::Ok:
      return "OK";
    case ArchiveStatus::CannotOpen:
      return "cannot open the archive";
    case ArchiveStatus::NotAnArchive:
      return "not an archive";
    case ArchiveStatus::Truncated:
      return "archive cut short";
    case ArchiveStatus::DamagedHeader:
      return "damaged header";
    case ArchiveStatus::NotFound:
      return "entry not found";
    case ArchiveStatus::UnsupportedVersion:
      return "unsupported version";
    case ArchiveStatus::TooLarge:
      return "entry too large";
    case ArchiveStatus::DataOutsideArchive:
      return "packed data runs past the end of the archive";
    case ArchiveStatus::OutOfMemory:
      return "out of memory";
    case ArchiveStatus::DataError:
      return "damaged packed data";
    case ArchiveStatus::Incomplete:
      return "entry shorter than its size";
    case ArchiveStatus::CrcMismatch:
      return "CRC mismatch";
    case ArchiveStatus::BadName:
      return "bad entry name";
  }
  return "unknown";
}

bool archiveNamesMatch(const char* requested, const char* stored) {
  if (requested == nullptr || stored == nullptr || std::strlen(requested) > maxArchiveNameLength)
    return false;
  return normaliseName(requested, maxArchiveNameLength) ==
         normaliseName(stored, maxArchiveNameLength);
}

bool readArchiveEntry(const char* entryName, const char* archivePath,
                      std::unique_ptr<std::uint8_t[]>& buffer, std::uint32_t& size,
                      ArchiveStatus* status) {
  if (entryName == nullptr) {
    buffer.reset();
    size = 0;
    return finishRead(ArchiveStatus::BadName, buffer, size, status);
  }
  return readFromFile(EntryWanted{entryName, 0}, archivePath, buffer, size, status);
}

bool readArchiveEntryFromMemory(const char* entryName, const std::uint8_t* archive,
                                std::size_t archiveSize, std::unique_ptr<std::uint8_t[]>& buffer,
                                std::uint32_t& size, ArchiveStatus* status) {
  if (entryName == nullptr) {
    buffer.reset();
    size = 0;
    return finishRead(ArchiveStatus::BadName, buffer, size, status);
  }
  return readFromMemory(EntryWanted{entryName, 0}, archive, archiveSize, buffer, size, status);
}

bool readArchiveEntryAt(std::uint32_t index, const char* archivePath,
                        std::unique_ptr<std::uint8_t[]>& buffer, std::uint32_t& size,
                        ArchiveStatus* status) {
  return readFromFile(EntryWanted{nullptr, index}, archivePath, buffer, size, status);
}

bool readArchiveEntryAtFromMemory(std::uint32_t index, const std::uint8_t* archive,
                                  std::size_t archiveSize, std::unique_ptr<std::uint8_t[]>& buffer,
                                  std::uint32_t& size, ArchiveStatus* status) {
  return readFromMemory(EntryWanted{nullptr, index}, archive, archiveSize, buffer, size, status);
}

std::uint32_t listArchive(const char* archivePath, ArchiveList& entries, ArchiveStatus* status) {
  entries.clear();
  ArchiveSource source;
  ArchiveStatus result = ArchiveStatus::CannotOpen;
  std::uint32_t count = 0;
  if (source.openFile(archivePath)) count = listEntries(source, entries, result);
  if (status != nullptr) *status = result;
  return count;
}

std::uint32_t listArchiveFromMemory(const std::uint8_t* archive, std::size_t archiveSize,
                                    ArchiveList& entries, ArchiveStatus* status) {
  entries.clear();
  ArchiveSource source;
  source.openMemory(archive, archiveSize);
  ArchiveStatus result = ArchiveStatus::Ok;
  std::uint32_t count = listEntries(source, entries, result);
  if (status != nullptr) *status = result;
  return count;
}
