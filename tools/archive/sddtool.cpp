// sddtool: lists, extracts and tests the entries of a data.sdd archive with the saver's own
// reader.
//
//   sddtool list ARCHIVE
//   sddtool extract ARCHIVE NAME [-o FILE]
//   sddtool test ARCHIVE

#include "assets/archive/archive_reader.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: sddtool list ARCHIVE\n"
               "       sddtool extract ARCHIVE NAME [-o FILE]\n"
               "       sddtool test ARCHIVE\n");
  return 2;
}

// Names may hold any byte; show the unprintable ones escaped so a listing stays one line each.
std::string printable(const std::string& name) {
  std::string out;
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

int listCommand(const char* archive) {
  ArchiveList entries;
  ArchiveStatus status = ArchiveStatus::Ok;
  listArchive(archive, entries, &status);
  if (status == ArchiveStatus::CannotOpen || status == ArchiveStatus::NotAnArchive) {
    std::fprintf(stderr, "sddtool: %s: %s\n", archive, archiveStatusText(status));
    return 1;
  }
  std::printf("%10s %10s %3s %6s %6s %8s  %s\n", "packed", "size", "ver", "method", "flags", "crc",
              "name");
  for (const ArchiveEntryInfo& e : entries)
    std::printf("%10u %10u %3u %#6x %#6x %08X  %s\n", e.packSize, e.unpSize, e.unpVer, e.method,
                e.flags, e.fileCrc, printable(e.name).c_str());
  std::printf("%zu entries\n", entries.size());
  if (status != ArchiveStatus::Ok) {
    std::fprintf(stderr, "sddtool: %s: listing stopped: %s\n", archive, archiveStatusText(status));
    return 1;
  }
  return 0;
}

int extractCommand(const char* archive, const char* name, const char* outPath) {
  std::unique_ptr<std::uint8_t[]> data;
  std::uint32_t size = 0;
  ArchiveStatus status = ArchiveStatus::Ok;
  if (!readArchiveEntry(name, archive, data, size, &status)) {
    std::fprintf(stderr, "sddtool: %s: %s\n", name, archiveStatusText(status));
    return 1;
  }
  std::FILE* out = stdout;
  if (outPath != nullptr) {
    out = std::fopen(outPath, "wb");
    if (out == nullptr) {
      std::fprintf(stderr, "sddtool: cannot write %s\n", outPath);
      return 1;
    }
  }
  bool written = std::fwrite(data.get(), 1, size, out) == size;
  if (outPath != nullptr)
    written = std::fclose(out) == 0 && written;
  else
    written = std::fflush(out) == 0 && written;
  if (!written) {
    std::fprintf(stderr, "sddtool: writing %s failed\n", outPath ? outPath : "the output");
    return 1;
  }
  return 0;
}

int testCommand(const char* archive) {
  ArchiveList entries;
  ArchiveStatus status = ArchiveStatus::Ok;
  listArchive(archive, entries, &status);
  if (status == ArchiveStatus::CannotOpen || status == ArchiveStatus::NotAnArchive) {
    std::fprintf(stderr, "sddtool: %s: %s\n", archive, archiveStatusText(status));
    return 1;
  }
  int failures = 0;
  for (std::uint32_t i = 0; i < entries.size(); ++i) {
    std::unique_ptr<std::uint8_t[]> data;
    std::uint32_t size = 0;
    ArchiveStatus entryStatus = ArchiveStatus::Ok;
    readArchiveEntryAt(i, archive, data, size, &entryStatus);
    if (entryStatus != ArchiveStatus::Ok) ++failures;
    std::printf("%-40s %s\n", printable(entries[i].name).c_str(), archiveStatusText(entryStatus));
  }
  if (status != ArchiveStatus::Ok) {
    std::printf("%-40s %s\n", "(archive)", archiveStatusText(status));
    ++failures;
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  const char* command = argv[1];
  const char* archive = argv[2];
  if (std::strcmp(command, "list") == 0 && argc == 3) return listCommand(archive);
  if (std::strcmp(command, "test") == 0 && argc == 3) return testCommand(archive);
  if (std::strcmp(command, "extract") == 0) {
    if (argc == 4) return extractCommand(archive, argv[3], nullptr);
    if (argc == 6 && std::strcmp(argv[4], "-o") == 0)
      return extractCommand(archive, argv[3], argv[5]);
  }
  return usage();
}
