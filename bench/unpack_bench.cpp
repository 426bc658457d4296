// Unpack throughput, one row per kind of stream: MB/s of checked output for testing every
// entry of an archive with the saver's reader (as `sddtool test` does), beside a memcpy of the
// same bytes and beside the reference extractor (`unrar t`) on the same archive file in the
// same run. Archives are real entries from the shared RAR test data repeated many times, so
// that start-up is a small part of the time, plus streams made by the project's packer for
// the kinds the test data lacks (far matches, 4-channel audio, large stored entries, solid).
//
//   unpack_bench [--unrar PATH] [--repeat N] [--keep DIR]
//
// --keep writes the archives into DIR and leaves them there (for profiling one row).
//
// Run it on one core (taskset -c 1 ...): the reference runs as a child and inherits that.
// The reference is taken from --unrar, else from BUILD/reference-unrar where
// `bench/fetch_reference_unrar.sh BUILD/reference-unrar` puts it; without it the column is
// skipped with a message.

#include "assets/archive/archive_reader.h"
#include "tools/archive/archive_writer.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

Bytes readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), {});
}

bool writeFile(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::uint32_t get16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t get32(const std::uint8_t* p) { return get16(p) | (get16(p + 2) << 16); }

// The raw file blocks (header and packed data) of an archive, each with its entry's method.
struct Block {
  Bytes bytes;
  std::uint8_t method = 0;
  std::uint8_t unpVer = 0;
  std::string name;
};

std::vector<Block> fileBlocks(const Bytes& archive) {
  std::vector<Block> out;
  if (archive.size() < 20) return out;
  std::size_t at = 7 + get16(archive.data() + 7 + 5);
  while (at + 32 <= archive.size()) {
    const std::uint8_t* h = archive.data() + at;
    std::size_t next = at + get16(h + 5) + ((get16(h + 3) & 0x8000) ? get32(h + 7) : 0);
    if (next <= at || next > archive.size()) break;
    if (h[2] == 0x74) {
      Block b;
      b.bytes.assign(h, archive.data() + next);
      b.unpVer = h[24];
      b.method = h[25];
      b.name.assign(reinterpret_cast<const char*>(h + 32),
                    std::min<std::size_t>(get16(h + 26), 64));
      out.push_back(std::move(b));
    }
    at = next;
  }
  return out;
}

// A non-solid archive made of the given blocks, `copies` times over.
Bytes repeated(const std::vector<Block>& blocks, int copies) {
  Bytes out = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00, 0xCF, 0x90, 0x73,
               0x00, 0x00, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  for (int c = 0; c < copies; ++c)
    for (const Block& b : blocks) out.insert(out.end(), b.bytes.begin(), b.bytes.end());
  return out;
}

std::vector<Block> realBlocks(const std::string& file,
                              const std::function<bool(const Block&)>& keep) {
  std::vector<Block> out;
  for (Block& b : fileBlocks(readFile(fs::path(PLASMORA_SHARED_DIR) / "testdata/rar" / file)))
    if (b.unpVer >= 13 && b.unpVer <= 20 && keep(b)) out.push_back(std::move(b));
  return out;
}

bool any(const Block&) { return true; }

Bytes packed(const std::vector<PackEntry>& entries, const PackOptions& options) {
  Bytes out;
  std::string error;
  if (!writeArchive(entries, options, out, error))
    std::fprintf(stderr, "pack: %s\n", error.c_str());
  return out;
}

// Random text-like bytes whose later parts repeat earlier ones from far back (up to ~1 MiB).
Bytes farMatchStream(std::size_t size) {
  std::mt19937 random(11);
  Bytes out;
  while (out.size() < 300000) out.push_back(static_cast<std::uint8_t>('a' + random() % 26));
  while (out.size() < size) {
    std::size_t distance = 200000 + random() % std::min<std::size_t>(out.size() - 1000, 800000);
    std::size_t length = 2000 + random() % 20000;
    std::size_t from = out.size() - distance;
    for (std::size_t i = 0; i < length; ++i) out.push_back(out[from + i]);
    for (int i = 0; i < 20; ++i) out.push_back(static_cast<std::uint8_t>('a' + random() % 26));
  }
  out.resize(size);
  return out;
}

// Interleaved 8-bit samples of a few drifting tones with noise.
Bytes audioStream(int channels, std::size_t size) {
  std::mt19937 random(5);
  Bytes out(size);
  for (std::size_t i = 0; i < size; ++i) {
    double t = static_cast<double>(i / channels);
    int c = static_cast<int>(i % channels);
    double v = 60 * std::sin(t * (0.01 + 0.003 * c)) + 30 * std::sin(t * 0.047 + c) +
               static_cast<double>(random() % 7);
    out[i] = static_cast<std::uint8_t>(128 + static_cast<int>(v));
  }
  return out;
}

struct Row {
  std::string kind;
  Bytes archive;
};

// Every compressed or stored entry a real archive holds that the reader accepts.
std::vector<Block> allRealBlocks() {
  std::vector<Block> out;
  for (const char* file : {"zxtune__test_v2.rar", "zxtune__mm.rar",
                           "junrar__BoatModernEnglish-audio-text-unpack20.rar",
                           "junrar__BoatModernEnglish-regular-unpack20.rar",
                           "sharpcompress__Rar2.rar", "libarchive__test_read_format_rar.rar"})
    for (Block& b : realBlocks(file, any)) out.push_back(std::move(b));
  return out;
}

std::vector<Row> rows() {
  std::vector<Row> out;
  auto nonEmpty = [](const Block& b) { return b.bytes.size() > 64; };
  out.push_back(
      {"LZ binary, real (100x)", repeated(realBlocks("sharpcompress__Rar2.rar", nonEmpty), 100)});
  out.push_back(
      {"LZ text+binary, real (150x)",
       repeated(realBlocks("zxtune__test_v2.rar", [](const Block& b) { return b.method != 0x30; }),
                150)});
  {
    std::vector<PackEntry> e = {{"far.txt", farMatchStream(3 << 20), 0}};
    out.push_back({"far matches, packer (10x)", repeated(fileBlocks(packed(e, {})), 10)});
  }
  out.push_back(
      {"audio+LZ, real (150x)",
       repeated(realBlocks("junrar__BoatModernEnglish-audio-text-unpack20.rar", any), 150)});
  out.push_back({"audio, real module (100x)", repeated(realBlocks("zxtune__mm.rar", any), 100)});
  for (int channels : {1, 2, 4}) {
    std::vector<PackEntry> e = {{"a.raw", audioStream(channels, 1 << 20), channels}};
    out.push_back({"audio " + std::to_string(channels) + "ch, packer (10x)",
                   repeated(fileBlocks(packed(e, {})), 10)});
  }
  {
    std::vector<PackEntry> e;
    for (int i = 0; i < 4; ++i) e.push_back({"s" + std::to_string(i), farMatchStream(1 << 20), 0});
    PackOptions store;
    store.storeOnly = true;
    out.push_back({"stored (20x)", repeated(fileBlocks(packed(e, store)), 20)});
  }
  std::vector<Block> all = allRealBlocks();
  out.push_back({"small real entries x" + std::to_string(all.size()) + " (1x)", repeated(all, 1)});
  out.push_back({"small real entries (40x)", repeated(all, 40)});
  {
    // The real entries' contents packed as one solid archive.
    std::vector<PackEntry> e;
    Bytes source = repeated(all, 1);
    ArchiveList list;
    listArchiveFromMemory(source.data(), source.size(), list);
    for (int copy = 0; copy < 10; ++copy)
      for (std::uint32_t i = 0; i < list.size(); ++i) {
        std::unique_ptr<std::uint8_t[]> data;
        std::uint32_t size = 0;
        if (!readArchiveEntryAtFromMemory(i, source.data(), source.size(), data, size)) continue;
        e.push_back({"e" + std::to_string(e.size()), Bytes(data.get(), data.get() + size), 0});
      }
    PackOptions solid;
    solid.solid = true;
    out.push_back({"solid, " + std::to_string(e.size()) + " entries", packed(e, solid)});
  }
  return out;
}

// Tests every entry as `sddtool test` does; returns the bytes checked, 0 on any failure.
std::uint64_t testEntries(const char* path) {
  std::uint64_t total = 0;
  bool failed = false;
  ArchiveStatus status =
      readArchiveEntries(path, nullptr,
                         [&](std::uint32_t, const ArchiveEntryInfo&, ArchiveStatus entryStatus,
                             std::unique_ptr<std::uint8_t[]>&, std::uint32_t size) {
                           failed = failed || entryStatus != ArchiveStatus::Ok;
                           total += size;
                           return true;
                         });
  return failed || status != ArchiveStatus::Ok ? 0 : total;
}

// CPU seconds of one `unrar t` run on the file, or a negative value when it failed.
double referenceSeconds(const std::string& unrar, const std::string& path) {
  pid_t child = fork();
  if (child == 0) {
    execl(unrar.c_str(), unrar.c_str(), "t", "-idq", "-inul", path.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0)
    return -1;
  return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec +
         usage.ru_stime.tv_usec * 1e-6;
}

template <typename F>
double best(int repeat, F run) {
  double fastest = 1e30;
  for (int i = 0; i < repeat; ++i) fastest = std::min(fastest, run());
  return fastest;
}

}  // namespace

int main(int argc, char** argv) {
  std::string unrar;
  int repeat = 5;
  std::string keep;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--unrar") == 0) unrar = argv[i + 1];
    if (std::strcmp(argv[i], "--repeat") == 0) repeat = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--keep") == 0) keep = argv[i + 1];
  }
  if (unrar.empty() && access(PLASMORA_REFERENCE_UNRAR, X_OK) == 0)
    unrar = PLASMORA_REFERENCE_UNRAR;
  if (unrar.empty())
    std::printf(
        "(reference extractor not found: its column is skipped; "
        "bench/fetch_reference_unrar.sh BUILD/reference-unrar fetches it)\n");
  fs::path dir = !keep.empty()
                     ? fs::path(keep)
                     : fs::temp_directory_path() / ("unpack-bench-" + std::to_string(getpid()));
  fs::create_directories(dir);

  std::printf("%-34s %8s %9s %9s %9s %7s\n", "archive", "MB", "ours", "memcpy", "reference",
              "ratio");
  int index = 0;
  for (const Row& row : rows()) {
    fs::path path = dir / ("row" + std::to_string(index++) + ".rar");
    writeFile(path, row.archive);
    std::uint64_t bytes = testEntries(path.c_str());
    if (bytes == 0) {
      std::printf("%-34s the reader refused the archive\n", row.kind.c_str());
      continue;
    }
    double mb = bytes / 1e6;
    double ours = best(repeat, [&] {
      double t0 = cpuSeconds();
      volatile std::uint64_t sink = testEntries(path.c_str());
      (void)sink;
      return cpuSeconds() - t0;
    });
    Bytes from(bytes), to(bytes);
    double copy = best(repeat, [&] {
      double t0 = cpuSeconds();
      std::memcpy(to.data(), from.data(), bytes);
      volatile std::uint8_t sink = to[bytes / 2];
      (void)sink;
      return cpuSeconds() - t0;
    });
    double reference = -1;
    if (!unrar.empty())
      reference = best(repeat, [&] {
        double s = referenceSeconds(unrar, path.string());
        return s < 0 ? 1e30 : s;
      });
    if (reference >= 1e30) reference = -1;
    std::printf("%-34s %8.1f %9.1f %9.0f ", row.kind.c_str(), mb, mb / ours, mb / copy);
    if (reference > 0)
      std::printf("%9.1f %7.2f\n", mb / reference, reference / ours);
    else
      std::printf("%9s %7s\n", "-", "-");
    std::fflush(stdout);
  }
  if (keep.empty()) fs::remove_all(dir);
  return 0;
}
