#include "assets/archive/archive_reader.h"

#include "assets/archive/archive_format.h"
#include "assets/archive/archive_source.h"
#include "assets/archive/archive_walk.h"

#include <cstring>
#include <vector>

namespace {

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

// Which entry a read wants: by name, or by its place in the listing.
struct EntryWanted {
  const char* name = nullptr;
  std::uint32_t index = 0;
};

// What an entry of a solid archive that is decoded on the way to another must satisfy: the
// version, and for a compressed one the same size bounds as a wanted entry. A stored entry is
// not decoded and leaves the stream as it is.
ArchiveStatus checkPassedOver(const ArchiveEntryInfo& info) {
  ArchiveStatus bounds = checkEntryBounds(info);
  if (bounds == ArchiveStatus::UnsupportedVersion || info.method != storedMethod) return bounds;
  return ArchiveStatus::Ok;
}

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

  // In a solid archive every entry before the wanted one is decoded as well; all of them are
  // checked before the first is decoded, so their headers are gathered on the way.
  std::vector<FileBlock> before;
  FileBlock block;
  for (std::uint32_t index = 0;; ++index) {
    WalkStep step = walk.next(block);
    if (step == WalkStep::Failed) return walk.status();
    if (step == WalkStep::End)
      return walk.status() == ArchiveStatus::Ok ? ArchiveStatus::NotFound : walk.status();
    bool match = wanted.name != nullptr
                     ? normaliseName(block.info.name.c_str(), maxArchiveNameLength) == wantedName
                     : index == wanted.index;
    if (match) break;
    if (walk.solid()) {
      ArchiveStatus passable = checkPassedOver(block.info);
      if (passable != ArchiveStatus::Ok) return passable;
      before.push_back(block);
    }
    source.seek(block.next);
  }
  ArchiveStatus bounds = checkEntryBounds(block.info);
  if (bounds != ArchiveStatus::Ok) return bounds;
  for (const FileBlock& earlier : before) walk.passOver(earlier);
  return walk.read(block, buffer, size);
}

ArchiveStatus readEntries(ArchiveSource& source, const ArchiveEntryFilter& want,
                          const ArchiveEntrySink& take) {
  ArchiveWalk walk(source);
  ArchiveStatus opened = walk.open();
  if (opened != ArchiveStatus::Ok) return opened;
  std::vector<FileBlock> blocks;
  FileBlock block;
  while (walk.next(block) == WalkStep::File) {
    blocks.push_back(block);
    source.seek(block.next);
  }
  // In a solid archive an entry that may not be decoded cuts the stream: it and every entry
  // after it fail for its reason, as they do when read one at a time.
  ArchiveStatus cut = ArchiveStatus::Ok;
  for (std::uint32_t i = 0; i < blocks.size(); ++i) {
    const FileBlock& b = blocks[i];
    bool wanted = !want || want(i, b.info);
    if (wanted) {
      std::unique_ptr<std::uint8_t[]> data;
      std::uint32_t size = 0;
      ArchiveStatus status = cut;
      if (status == ArchiveStatus::Ok) status = walk.read(b, data, size);
      if (status != ArchiveStatus::Ok) {
        data.reset();
        size = 0;
      }
      if (!take(i, b.info, status, data, size)) return ArchiveStatus::Ok;
    }
    if (walk.solid() && cut == ArchiveStatus::Ok) {
      cut = checkPassedOver(b.info);
      if (cut == ArchiveStatus::Ok && !wanted) walk.passOver(b);
    }
  }
  return walk.status();
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
  while (walk.next(block) == WalkStep::File) {
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

ArchiveStatus readArchiveEntries(const char* archivePath, const ArchiveEntryFilter& want,
                                 const ArchiveEntrySink& take) {
  ArchiveSource source;
  if (!source.openFile(archivePath)) return ArchiveStatus::CannotOpen;
  return readEntries(source, want, take);
}

ArchiveStatus readArchiveEntriesFromMemory(const std::uint8_t* archive, std::size_t archiveSize,
                                           const ArchiveEntryFilter& want,
                                           const ArchiveEntrySink& take) {
  ArchiveSource source;
  source.openMemory(archive, archiveSize);
  return readEntries(source, want, take);
}
