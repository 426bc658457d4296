#include "tools/archive/pack_command.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tools/common/output_file.h"

namespace {

const char* kUsage =
    "usage: sddpack -o OUT.sdd [--solid] [--marker rar|alt] [--store] "
    "[--audio NAME:CHANNELS]... MANIFEST\n"
    "MANIFEST lines: archive-name<TAB>source-path (relative paths from the manifest's folder)\n";

bool readFile(const std::filesystem::path& path, std::vector<std::uint8_t>& data,
              std::string& error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    error = "not a readable file: " + path.string();
    return false;
  }
  // Checked before reading, so a huge file is refused without loading it.
  if (std::filesystem::file_size(path, ec) > kMaxEntrySize || ec) {
    error = ec ? "cannot read " + path.string()
               : "larger than an entry may be (256 MiB): " + path.string();
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path.string();
    return false;
  }
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "cannot read " + path.string();
    return false;
  }
  return true;
}

}  // namespace

bool parsePackCommand(const std::vector<std::string>& args, PackCommand& command,
                      std::string& error) {
  command = PackCommand{};
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& v) {
      if (i + 1 >= args.size()) {
        error = "option " + a + " needs a value";
        return false;
      }
      v = args[++i];
      return true;
    };
    if (a == "-o") {
      if (!value(command.output)) return false;
    } else if (a == "--solid") {
      command.options.solid = true;
    } else if (a == "--store") {
      command.options.storeOnly = true;
    } else if (a == "--marker") {
      std::string m;
      if (!value(m)) return false;
      if (m == "rar") {
        command.options.alternativeMarker = false;
      } else if (m == "alt") {
        command.options.alternativeMarker = true;
      } else {
        error = "--marker takes rar or alt, not " + m;
        return false;
      }
    } else if (a == "--audio") {
      std::string v;
      if (!value(v)) return false;
      std::size_t colon = v.rfind(':');
      std::string count = colon == std::string::npos ? "" : v.substr(colon + 1);
      if (colon == 0 || count.size() != 1 || count[0] < '1' || count[0] > '4') {
        error = "--audio takes NAME:CHANNELS with 1 to 4 channels, not " + v;
        return false;
      }
      command.audio.push_back({v.substr(0, colon), count[0] - '0'});
    } else if (!a.empty() && a[0] == '-') {
      error = "unknown option " + a;
      return false;
    } else if (command.manifest.empty()) {
      command.manifest = a;
    } else {
      error = "more than one manifest: " + a;
      return false;
    }
  }
  if (command.output.empty() || command.manifest.empty()) {
    error = "an output (-o) and a manifest are required";
    return false;
  }
  return true;
}

std::uint32_t dosTimeFromUnix(std::int64_t seconds) {
  constexpr std::int64_t kFirst = 315532800;  // 1980-01-01 00:00:00
  constexpr std::int64_t kLast = 4354819198;  // 2107-12-31 23:59:58
  if (seconds < kFirst) seconds = kFirst;
  if (seconds > kLast) seconds = kLast;
  std::int64_t days = seconds / 86400, rest = seconds % 86400;
  // Civil date from days since 1970-01-01 (proleptic Gregorian).
  std::int64_t z = days + 719468;
  std::int64_t era = z / 146097;
  std::int64_t doe = z - era * 146097;
  std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  std::int64_t mp = (5 * doy + 2) / 153;
  std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
  std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
  std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  std::uint32_t date = std::uint32_t(((year - 1980) << 9) | (month << 5) | day);
  std::uint32_t time =
      std::uint32_t(((rest / 3600) << 11) | (((rest / 60) % 60) << 5) | ((rest % 60) / 2));
  return (date << 16) | time;
}

bool entryTimestamp(const char* sourceDateEpoch, std::uint32_t& dosTime, std::string& error) {
  dosTime = PackOptions{}.dosTime;
  if (!sourceDateEpoch || !*sourceDateEpoch) return true;
  std::int64_t v = 0;
  for (const char* p = sourceDateEpoch; *p; ++p) {
    if (*p < '0' || *p > '9' || v > 100000000000LL) {
      error = std::string("SOURCE_DATE_EPOCH is not a number of seconds: ") + sourceDateEpoch;
      return false;
    }
    v = v * 10 + (*p - '0');
  }
  dosTime = dosTimeFromUnix(v);
  return true;
}

bool parseManifest(const std::string& text, std::vector<PackEntry>& entries,
                   std::vector<std::string>& sources, std::string& error) {
  entries.clear();
  sources.clear();
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::size_t tab = line.find('\t');
    if (tab == std::string::npos || line.find('\t', tab + 1) != std::string::npos ||
        tab + 1 == line.size()) {
      error = "manifest line " + std::to_string(number) + ": expected archive-name<TAB>source-path";
      return false;
    }
    PackEntry e;
    e.name = line.substr(0, tab);
    std::string why;
    if (!validEntryName(e.name, why)) {
      error = "manifest line " + std::to_string(number) + ": " + why;
      return false;
    }
    entries.push_back(std::move(e));
    sources.push_back(line.substr(tab + 1));
  }
  if (entries.empty()) {
    error = "the manifest lists no entries";
    return false;
  }
  return true;
}

bool runPackCommand(const PackCommand& command, std::string& error) {
  std::vector<std::uint8_t> manifestBytes;
  if (!readFile(command.manifest, manifestBytes, error)) return false;
  std::vector<PackEntry> entries;
  std::vector<std::string> sources;
  if (!parseManifest(std::string(manifestBytes.begin(), manifestBytes.end()), entries, sources,
                     error)) {
    error = command.manifest + ": " + error;
    return false;
  }
  for (const auto& [name, channels] : command.audio) {
    bool found = false;
    for (PackEntry& e : entries)
      if (e.name == name) {
        e.audioChannels = channels;
        found = true;
      }
    if (!found) {
      error = "--audio names an entry that is not in the manifest: " + name;
      return false;
    }
  }
  std::filesystem::path base = std::filesystem::path(command.manifest).parent_path();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::filesystem::path src(sources[i]);
    if (src.is_relative()) src = base / src;
    if (!readFile(src, entries[i].data, error)) return false;
  }

  PackOptions options = command.options;
  if (!entryTimestamp(std::getenv("SOURCE_DATE_EPOCH"), options.dosTime, error)) return false;
  std::vector<std::uint8_t> archive;
  if (!writeArchive(entries, options, archive, error)) return false;

  // Written beside the target and renamed, so a failure never leaves half an archive.
  return writeFileBytes(command.output, archive, error);
}

int sddpackMain(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  PackCommand command;
  std::string error;
  if (!parsePackCommand(args, command, error)) {
    std::fprintf(stderr, "sddpack: %s\n%s", error.c_str(), kUsage);
    return 1;
  }
  if (!runPackCommand(command, error)) {
    std::fprintf(stderr, "sddpack: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
