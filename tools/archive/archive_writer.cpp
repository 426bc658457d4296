#include "tools/archive/archive_writer.h"

#include <cctype>

#include "assets/archive/crc32.h"
#include "tools/archive/pack_stream.h"

namespace {

void put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
  b.push_back(std::uint8_t(v));
  b.push_back(std::uint8_t(v >> 8));
}

void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

// A block header begins with the low 16 bits of the CRC-32 of everything after the CRC.
void sealHeader(std::vector<std::uint8_t>& header) {
  std::uint32_t crc = archiveCrc32(header.data() + 2, header.size() - 2) & 0xFFFF;
  header[0] = std::uint8_t(crc);
  header[1] = std::uint8_t(crc >> 8);
}

std::string upperKey(const std::string& name) {
  std::string key = name;
  for (char& c : key) {
    if (c == '/' || c == '\\') c = '_';
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  }
  return key;
}

}  // namespace

std::uint32_t archiveCrc32(const std::uint8_t* data, std::size_t size) {
  return ~crc32(0xFFFFFFFFu, data, size);
}

bool validEntryName(const std::string& name, std::string& error) {
  if (name.empty()) {
    error = "empty archive name";
    return false;
  }
  if (name.size() > kMaxNameBytes) {
    error = "archive name longer than 259 bytes: " + name.substr(0, 40) + "...";
    return false;
  }
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7F) {
      error = "archive name with a control character: " + name;
      return false;
    }
    if (c == '/') {
      error = "archive name uses '/' instead of '\\': " + name;
      return false;
    }
  }
  if (name[0] == '\\' || (name.size() >= 2 && name[1] == ':')) {
    error = "archive name is not relative: " + name;
    return false;
  }
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t stop = name.find('\\', start);
    if (stop == std::string::npos) stop = name.size();
    std::string part = name.substr(start, stop - start);
    if (part.empty() || part == "." || part == "..") {
      error = "archive name with an empty, '.' or '..' part: " + name;
      return false;
    }
    start = stop + 1;
  }
  return true;
}

bool writeArchive(const std::vector<PackEntry>& entries, const PackOptions& options,
                  std::vector<std::uint8_t>& out, std::string& error) {
  std::vector<std::string> keys;
  for (const PackEntry& e : entries) {
    if (!validEntryName(e.name, error)) return false;
    if (e.data.size() > kMaxEntrySize) {
      error = "entry too large (256 MiB at most): " + e.name;
      return false;
    }
    if (e.audioChannels < 0 || e.audioChannels > 4) {
      error = "audio channel count must be 1 to 4: " + e.name;
      return false;
    }
    // The reader compares names without case and folder separator; a second entry of the
    // same name could never be read.
    std::string key = upperKey(e.name);
    for (const std::string& k : keys)
      if (k == key) {
        error = "duplicate archive name: " + e.name;
        return false;
      }
    keys.push_back(key);
  }

  const std::uint8_t* marker = options.alternativeMarker ? altMarker : rarMarker;
  out.assign(marker, marker + 7);

  std::vector<std::uint8_t> main{0, 0, mainBlock};
  put16(main, options.solid ? solidArchiveFlag : 0);
  put16(main, 13);
  put16(main, 0);
  put32(main, 0);
  sealHeader(main);
  out.insert(out.end(), main.begin(), main.end());

  PackStream stream(options.chainDepth);
  bool streamStarted = false;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const PackEntry& e = entries[i];
    const bool continuation = options.solid && i > 0;
    std::vector<std::uint8_t> packed;
    bool stored = true;
    if (!options.storeOnly) {
      if (options.solid) {
        // Every solid entry goes through the unpacker so the stream stays in step; only
        // empty entries after the first are stored, which leaves the stream untouched.
        if (!streamStarted || !e.data.empty()) {
          if (!stream.packEntry(e.data.data(), e.data.size(), e.audioChannels, streamStarted,
                                i + 1 < entries.size(), packed)) {
            error = "internal error: the packed stream lost step at " + e.name;
            return false;
          }
          streamStarted = true;
          stored = false;
        }
      } else if (!e.data.empty()) {
        stored = !stream.packEntry(e.data.data(), e.data.size(), e.audioChannels, false, false,
                                   packed) ||
                 packed.size() >= e.data.size();
      }
    }
    if (stored) packed = e.data;
    if (packed.size() > 0xFFFFFFFFu) {
      error = "packed entry too large: " + e.name;
      return false;
    }

    std::uint16_t flags = longBlockFlag | kFlagWindow1M;
    if (continuation) flags |= solidEntryFlag;
    std::vector<std::uint8_t> h{0, 0, fileBlock};
    put16(h, flags);
    put16(h, std::uint32_t(32 + e.name.size()));
    put32(h, std::uint32_t(packed.size()));
    put32(h, std::uint32_t(e.data.size()));
    h.push_back(kHostOsWin32);
    put32(h, archiveCrc32(e.data.data(), e.data.size()));
    put32(h, options.dosTime);
    h.push_back(kUnpackVersion);
    h.push_back(stored ? storedMethod : kMethodBest);
    put16(h, std::uint32_t(e.name.size()));
    put32(h, kFileAttrArchive);
    h.insert(h.end(), e.name.begin(), e.name.end());
    sealHeader(h);
    out.insert(out.end(), h.begin(), h.end());
    out.insert(out.end(), packed.begin(), packed.end());
  }
  return true;
}
