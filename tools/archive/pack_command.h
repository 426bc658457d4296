#pragma once
// The command line and manifest of sddpack:
//   sddpack -o OUT.sdd [--solid] [--marker rar|alt] [--store] [--audio NAME:CHANNELS]... MANIFEST
// The manifest has one `archive-name<TAB>source-path` line per entry; relative source paths
// are taken from the manifest's folder.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/archive/archive_writer.h"

struct PackCommand {
  std::string output;
  std::string manifest;
  PackOptions options;
  std::vector<std::pair<std::string, int>> audio;  // archive name, channel count
};

// Parses the arguments after the program name.
bool parsePackCommand(const std::vector<std::string>& args, PackCommand& command,
                      std::string& error);

// DOS date and time (UTC) of a Unix time, clamped to the years 1980..2107.
std::uint32_t dosTimeFromUnix(std::int64_t seconds);

// The timestamp every entry gets: SOURCE_DATE_EPOCH when given (decimal seconds), else the
// fixed default, so that the same input always gives the same archive.
bool entryTimestamp(const char* sourceDateEpoch, std::uint32_t& dosTime, std::string& error);

// Reads the manifest text into entries (names checked, data not yet loaded).
bool parseManifest(const std::string& text, std::vector<PackEntry>& entries,
                   std::vector<std::string>& sources, std::string& error);

// Runs the whole command: reads the manifest and sources, writes the archive atomically.
bool runPackCommand(const PackCommand& command, std::string& error);

// Entry point shared by the executable: returns the exit status, messages go to stderr.
int sddpackMain(int argc, char** argv);
