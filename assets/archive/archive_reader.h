#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Reading entries of a RAR 2.0 archive (data.sdd) whole into memory.
//
// Every call opens the archive, walks its blocks from the start and closes it again; nothing is
// kept between calls. Entry names are matched ignoring case, with '\' and '/' both standing for
// the directory separator (they compare equal to '_' as well): "MESHES/MITO.DAT" and
// "meshes_mito.dat" both find the entry stored as "meshes\mito.dat". The first match wins.
//
// In a solid archive every entry before the wanted one is unpacked again (without output), so
// reads cost time linear in the position of the entry. Callers that want many entries use
// readArchiveEntries, which reads the headers once and, in a solid archive, decodes the
// stream once from front to back.
//
// Entries larger than maxArchiveEntrySize, or larger than their packed bytes could possibly
// produce, are refused before anything is allocated. In a solid archive the same bounds hold
// for every compressed entry decoded on the way to the wanted one, and all of them are
// checked before the first is decoded. A file archive is mapped into memory for the call.

// One record of a listing, as stored in the entry's file header.
struct ArchiveEntryInfo {
  std::string name;            // stored name (after the 259-byte cut), '\' as separator
  std::uint16_t nameSize = 0;  // length of `name`
  std::uint32_t packSize = 0;
  std::uint32_t unpSize = 0;
  std::uint8_t hostOs = 0;
  std::uint32_t fileCrc = 0;
  std::uint32_t fileTime = 0;
  std::uint8_t unpVer = 0;
  std::uint8_t method = 0;  // 0x30 stored, anything else compressed
  std::uint32_t attr = 0;
  std::uint16_t flags = 0;       // HEAD_FLAGS of the file header (0x0010 solid, 0x0004 encrypted)
  std::uint64_t dataOffset = 0;  // where the packed bytes start in the archive
};

using ArchiveList = std::vector<ArchiveEntryInfo>;

// Why a read or a listing stopped. Ok for a listing means the walk reached the end of the
// archive (or a sub-block, which ends it) without meeting damage.
enum class ArchiveStatus {
  Ok,
  CannotOpen,          // the file cannot be opened
  NotAnArchive,        // neither marker at the start
  Truncated,           // marker, main header or a block header cut short
  DamagedHeader,       // a header size too small, or a name running past its header
  NotFound,            // end of archive or a sub-block before the entry
  UnsupportedVersion,  // UNP_VER outside 13..20
  TooLarge,            // UNP_SIZE above the cap or beyond what the packed bytes can give
  DataOutsideArchive,  // the packed bytes run past the end of the archive
  OutOfMemory,
  DataError,   // the packed bytes ran out or decode to more than UNP_SIZE
  Incomplete,  // fewer bytes than UNP_SIZE (a stored entry with PACK_SIZE < UNP_SIZE)
  CrcMismatch,
  BadName,  // null or longer than 259 characters
};

// A short English description for tools ("CRC mismatch", ...).
const char* archiveStatusText(ArchiveStatus status);

// The largest entry that is ever unpacked (256 MiB).
constexpr std::uint32_t maxArchiveEntrySize = 256u * 1024u * 1024u;
// The longest names kept: stored names are cut to this, longer requests are refused.
constexpr std::size_t maxArchiveNameLength = 259;

// Reads the named entry. On success `buffer` holds exactly `size` bytes (a zero-length entry
// gives a non-null buffer and size 0); on failure `buffer` is null and `size` 0. `status`, when
// given, receives the reason.
bool readArchiveEntry(const char* entryName, const char* archivePath,
                      std::unique_ptr<std::uint8_t[]>& buffer, std::uint32_t& size,
                      ArchiveStatus* status = nullptr);

// The same over an archive held in memory (the bytes are only read during the call).
bool readArchiveEntryFromMemory(const char* entryName, const std::uint8_t* archive,
                                std::size_t archiveSize, std::unique_ptr<std::uint8_t[]>& buffer,
                                std::uint32_t& size, ArchiveStatus* status = nullptr);

// Reads the file entry at the given position of the listing (0 = first), whatever its name:
// for tools that test every entry, including ones whose names repeat.
bool readArchiveEntryAt(std::uint32_t index, const char* archivePath,
                        std::unique_ptr<std::uint8_t[]>& buffer, std::uint32_t& size,
                        ArchiveStatus* status = nullptr);
bool readArchiveEntryAtFromMemory(std::uint32_t index, const std::uint8_t* archive,
                                  std::size_t archiveSize, std::unique_ptr<std::uint8_t[]>& buffer,
                                  std::uint32_t& size, ArchiveStatus* status = nullptr);

// Lists the file entries in archive order (replacing the list's contents) and returns their
// number. The walk stops at the end of the archive, at a sub-block or at damage; `status` says
// which (Ok for the first two).
std::uint32_t listArchive(const char* archivePath, ArchiveList& entries,
                          ArchiveStatus* status = nullptr);
std::uint32_t listArchiveFromMemory(const std::uint8_t* archive, std::size_t archiveSize,
                                    ArchiveList& entries, ArchiveStatus* status = nullptr);

// True when a requested name finds a stored name (case and separators ignored).
bool archiveNamesMatch(const char* requested, const char* stored);

// Reads many entries in one pass, in archive order. `want` (null: every entry) picks entries by
// their place in the listing and their header; `take` receives each picked entry with the
// status a single read of it would give and, when that is Ok, its bytes (it may keep them by
// moving the pointer out). `take` returning false ends the walk. Entries not picked are
// skipped, or in a solid archive decoded without output. Returns why the walk over the
// headers stopped, as listArchive does (Ok at the end of the archive or at a sub-block).
using ArchiveEntryFilter = std::function<bool(std::uint32_t index, const ArchiveEntryInfo& info)>;
using ArchiveEntrySink =
    std::function<bool(std::uint32_t index, const ArchiveEntryInfo& info, ArchiveStatus status,
                       std::unique_ptr<std::uint8_t[]>& data, std::uint32_t size)>;
ArchiveStatus readArchiveEntries(const char* archivePath, const ArchiveEntryFilter& want,
                                 const ArchiveEntrySink& take);
ArchiveStatus readArchiveEntriesFromMemory(const std::uint8_t* archive, std::size_t archiveSize,
                                           const ArchiveEntryFilter& want,
                                           const ArchiveEntrySink& take);
