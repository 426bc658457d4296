// Unpack throughput (MB/s of output) on the largest compressed entry available, beside a plain
// memcpy of the same number of bytes. The candidates are the built data.sdd and the shared RAR
// test data; the figure "x_memcpy" is how many times slower than memcpy the unpacking runs.

#include "assets/archive/archive_reader.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Thread CPU time: the machines this runs on are shared, and wall time swings with their load.
double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

struct Candidate {
  std::vector<std::uint8_t> archive;
  std::string archiveName;
  std::uint32_t index = 0;
  std::uint32_t size = 0;
};

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

const Candidate& largestEntry() {
  static Candidate best = [] {
    Candidate found;
    std::vector<std::filesystem::path> archives;
    std::filesystem::path data = std::filesystem::path(PLASMORA_DATA_DIR) / "data.sdd";
    if (std::filesystem::exists(data)) archives.push_back(data);
    std::filesystem::path rar = std::filesystem::path(PLASMORA_SHARED_DIR) / "testdata/rar";
    if (std::filesystem::is_directory(rar))
      for (const auto& item : std::filesystem::directory_iterator(rar))
        if (item.path().extension() == ".rar") archives.push_back(item.path());
    for (const auto& path : archives) {
      std::vector<std::uint8_t> bytes = readFile(path);
      ArchiveList entries;
      listArchiveFromMemory(bytes.data(), bytes.size(), entries);
      for (std::uint32_t i = 0; i < entries.size(); ++i) {
        if (entries[i].method == 0x30 || entries[i].unpSize <= found.size) continue;
        std::unique_ptr<std::uint8_t[]> out;
        std::uint32_t size = 0;
        if (!readArchiveEntryAtFromMemory(i, bytes.data(), bytes.size(), out, size)) continue;
        found.archive = bytes;
        found.archiveName = path.filename().string() + ":" + entries[i].name;
        found.index = i;
        found.size = size;
      }
    }
    return found;
  }();
  return best;
}

void unpackEntry(benchmark::State& state) {
  const Candidate& c = largestEntry();
  if (c.size == 0) {
    state.SkipWithError("no compressed entry found (shared test data or data.sdd)");
    return;
  }
  std::vector<std::uint8_t> source(c.size, 0x5A), target(c.size);
  double unpackSeconds = 0;
  double memcpySeconds = 0;
  for (auto _ : state) {
    double t0 = cpuSeconds();
    std::unique_ptr<std::uint8_t[]> out;
    std::uint32_t size = 0;
    bool ok = readArchiveEntryAtFromMemory(c.index, c.archive.data(), c.archive.size(), out, size);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(out.get());
    double t1 = cpuSeconds();
    std::memcpy(target.data(), source.data(), c.size);
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
    double t2 = cpuSeconds();
    unpackSeconds += t1 - t0;
    memcpySeconds += t2 - t1;
    state.SetIterationTime(t1 - t0);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * c.size);
  state.SetLabel(c.archiveName);
  state.counters["memcpy_MBps"] =
      memcpySeconds > 0 ? state.iterations() * (c.size / 1e6) / memcpySeconds : 0;
  state.counters["x_memcpy"] = memcpySeconds > 0 ? unpackSeconds / memcpySeconds : 0;
}

BENCHMARK(unpackEntry)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
