#pragma once
// Writes a complete archive: marker, main header and one file block per entry, each entry
// packed with LZ or the audio predictor, or stored when packing would not make it smaller.
#include <cstdint>
#include <string>
#include <vector>

#include "assets/archive/archive_format.h"
#include "assets/archive/archive_reader.h"

struct PackEntry {
  std::string name;  // as stored, `\` between folders
  std::vector<std::uint8_t> data;
  int audioChannels = 0;  // 0 for LZ, 1..4 for the audio predictor
};

struct PackOptions {
  bool solid = false;
  bool storeOnly = false;
  bool alternativeMarker = false;      // "Korvel!" instead of "Rar!\x1A\x07\x00"
  std::uint32_t dosTime = 0x28210000;  // 2000-01-01 00:00:00
  int chainDepth = 256;
};

// Fixed header values, shared with whoever checks the archives.
constexpr std::uint8_t kHostOsWin32 = 2;
constexpr std::uint8_t kUnpackVersion = 20;
constexpr std::uint8_t kMethodBest = 0x35;
constexpr std::uint32_t kFileAttrArchive = 0x20;
constexpr std::uint16_t kFlagWindow1M = 0x0080;
constexpr std::size_t kMaxNameBytes = 259;
// The saver's reader refuses anything larger, so the packer does too.
constexpr std::uint64_t kMaxEntrySize = maxArchiveEntrySize;

// CRC-32 (reflected, polynomial 0xEDB88320) of a byte range, as stored in FILE_CRC.
std::uint32_t archiveCrc32(const std::uint8_t* data, std::size_t size);

// Checks an archive name: non-empty, at most 259 bytes, printable, relative, no `..` part.
bool validEntryName(const std::string& name, std::string& error);

// Builds the archive bytes. On failure returns false with a message in `error`.
bool writeArchive(const std::vector<PackEntry>& entries, const PackOptions& options,
                  std::vector<std::uint8_t>& out, std::string& error);
