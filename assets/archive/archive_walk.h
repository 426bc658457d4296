#pragma once
// The reader's walk over one archive's blocks and the steps applied to each file entry on the
// way; the public reads of archive_reader.h are built from these. Internal to the reader.
#include "assets/archive/archive_reader.h"
#include "assets/archive/archive_source.h"
#include "assets/archive/archive_unpacker.h"

#include <cstdint>
#include <memory>

// One file block met by the walk.
struct FileBlock {
  ArchiveEntryInfo info;
  std::uint64_t position = 0;   // start of the block
  std::uint64_t dataStart = 0;  // first packed byte
  std::uint64_t next = 0;       // start of the following block
  std::uint32_t fullNameSize = 0;
  std::uint16_t headSize = 0;
};

enum class WalkStep { File, End, Failed };

// The working state of one read: the open source, the main header's solid flag and (once
// something compressed is met) the unpacker with its window, kept for every later entry.
class ArchiveWalk {
 public:
  explicit ArchiveWalk(ArchiveSource& source) : source_(source) {}
  virtual ~ArchiveWalk() = default;

  ArchiveStatus open();
  // Reads the next file block's header and moves to the block after it; End at the end of
  // the archive or at a sub-block (status() then tells whether damage ended it).
  WalkStep next(FileBlock& block);
  ArchiveStatus status() const { return status_; }
  bool solid() const { return solid_; }

  // Reads one entry whole: bounds, allocation, unpacking, size and CRC checks.
  ArchiveStatus read(const FileBlock& block, std::unique_ptr<std::uint8_t[]>& buffer,
                     std::uint32_t& size);
  // Runs an entry of a solid archive through the unpacker without output, for its effect on
  // the state. Damage in it shows up in the CRC of the entries after it.
  void passOver(const FileBlock& block);

 private:
  ArchiveStatus unpack(const FileBlock& block, std::uint8_t* output, std::uint32_t& produced);

  ArchiveSource& source_;
  ArchiveStatus status_ = ArchiveStatus::Ok;
  bool solid_ = false;
  std::unique_ptr<ArchiveUnpacker> unpacker_;
  bool unpackerUsed_ = false;
};

// What must hold before an entry is decoded at all: UNP_VER within 13..20, and UNP_SIZE within
// the cap and within what its packed bytes can give (a stored entry: PACK_SIZE). Ok, or why not.
ArchiveStatus checkEntryBounds(const ArchiveEntryInfo& info);
