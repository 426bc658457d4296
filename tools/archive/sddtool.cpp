// sddtool: lists, extracts and tests the entries of a data.sdd archive with the saver's own
// reader.
//
//   sddtool list ARCHIVE
//   sddtool extract ARCHIVE NAME... [-o FILE]
//   sddtool test ARCHIVE
//
// extract writes the named entries one after the other, in the order named, to FILE or to
// standard output. extract and test read the archive once, whatever the number of entries.

#include "assets/archive/archive_reader.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: sddtool list ARCHIVE\n"
               "       sddtool extract ARCHIVE NAME... [-o FILE]\n"
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

int extractCommand(const char* archive, const std::vector<const char*>& names,
                   const char* outPath) {
  // The first entry matching a name is that name's entry, as for a single read.
  std::vector<ArchiveStatus> status(names.size(), ArchiveStatus::NotFound);
  std::vector<std::vector<std::uint8_t>> bytes(names.size());
  std::vector<bool> seen(names.size(), false);
  std::vector<std::size_t> serving;  // the names the entry just picked stands for
  ArchiveStatus walked = readArchiveEntries(
      archive,
      [&](std::uint32_t, const ArchiveEntryInfo& info) {
        serving.clear();
        for (std::size_t n = 0; n < names.size(); ++n)
          if (!seen[n] && archiveNamesMatch(names[n], info.name.c_str())) {
            seen[n] = true;
            serving.push_back(n);
          }
        return !serving.empty();
      },
      [&](std::uint32_t, const ArchiveEntryInfo&, ArchiveStatus entryStatus,
          std::unique_ptr<std::uint8_t[]>& data, std::uint32_t size) {
        for (std::size_t n : serving) {
          status[n] = entryStatus;
          if (data) bytes[n].assign(data.get(), data.get() + size);
        }
        return true;
      });
  if (walked == ArchiveStatus::CannotOpen || walked == ArchiveStatus::NotAnArchive) {
    std::fprintf(stderr, "sddtool: %s: %s\n", archive, archiveStatusText(walked));
    return 1;
  }
  bool failed = false;
  for (std::size_t n = 0; n < names.size(); ++n) {
    // A name bad in itself, or not met before damage ended the walk.
    if (std::strlen(names[n]) > maxArchiveNameLength) status[n] = ArchiveStatus::BadName;
    if (status[n] == ArchiveStatus::NotFound && walked != ArchiveStatus::Ok) status[n] = walked;
    if (status[n] != ArchiveStatus::Ok) {
      std::fprintf(stderr, "sddtool: %s: %s\n", names[n], archiveStatusText(status[n]));
      failed = true;
    }
  }
  if (failed) return 1;
  std::FILE* out = stdout;
  if (outPath != nullptr) {
    out = std::fopen(outPath, "wb");
    if (out == nullptr) {
      std::fprintf(stderr, "sddtool: cannot write %s\n", outPath);
      return 1;
    }
  }
  bool written = true;
  for (const std::vector<std::uint8_t>& b : bytes)
    written = std::fwrite(b.data(), 1, b.size(), out) == b.size() && written;
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
  int failures = 0;
  ArchiveStatus status = readArchiveEntries(
      archive, nullptr,
      [&](std::uint32_t, const ArchiveEntryInfo& info, ArchiveStatus entryStatus,
          std::unique_ptr<std::uint8_t[]>&, std::uint32_t) {
        if (entryStatus != ArchiveStatus::Ok) ++failures;
        std::printf("%-40s %s\n", printable(info.name).c_str(), archiveStatusText(entryStatus));
        return true;
      });
  if (status == ArchiveStatus::CannotOpen || status == ArchiveStatus::NotAnArchive) {
    std::fprintf(stderr, "sddtool: %s: %s\n", archive, archiveStatusText(status));
    return 1;
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
    std::vector<const char*> names(argv + 3, argv + argc);
    const char* outPath = nullptr;
    if (names.size() >= 2 && std::strcmp(names[names.size() - 2], "-o") == 0) {
      outPath = names.back();
      names.resize(names.size() - 2);
    }
    if (!names.empty()) return extractCommand(archive, names, outPath);
  }
  return usage();
}
