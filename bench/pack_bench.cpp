// Packed size against gzip -9 and the unpack speed of the result, on (a) text (the GPL-3
// licence repeated to 2 MB) and (b) every entry of the built data.sdd. The target is a packed
// size below gzip -9's on every file over 64 KiB; the table printed first says which meet it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "assets/archive/archive_reader.h"
#include "tools/archive/archive_writer.h"

namespace {

struct Sample {
  std::string name;
  std::vector<std::uint8_t> data;
};

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

std::vector<std::uint8_t> textSample() {
  std::vector<std::uint8_t> base = readFile("/usr/share/common-licenses/GPL-3");
  if (base.empty()) return {};
  std::vector<std::uint8_t> out;
  while (out.size() < 2000000) out.insert(out.end(), base.begin(), base.end());
  out.resize(2000000);
  return out;
}

std::vector<Sample> assetSamples() {
  std::vector<Sample> out;
  std::vector<std::uint8_t> archive =
      readFile(std::filesystem::path(PLASMORA_DATA_DIR) / "data.sdd");
  ArchiveList list;
  listArchiveFromMemory(archive.data(), archive.size(), list);
  for (std::uint32_t i = 0; i < list.size(); ++i) {
    std::unique_ptr<std::uint8_t[]> buffer;
    std::uint32_t size = 0;
    if (readArchiveEntryAtFromMemory(i, archive.data(), archive.size(), buffer, size))
      out.push_back({list[i].name, std::vector<std::uint8_t>(buffer.get(), buffer.get() + size)});
  }
  return out;
}

// Size of `gzip -9` output for the bytes, or 0 when gzip is not there.
std::size_t gzipSize(const std::vector<std::uint8_t>& data) {
  char path[] = "/tmp/pack-bench-XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) return 0;
  FILE* f = fdopen(fd, "wb");
  std::fwrite(data.data(), 1, data.size(), f);
  std::fclose(f);
  std::string command = std::string("gzip -9 -c '") + path + "' 2>/dev/null | wc -c";
  std::size_t size = 0;
  if (FILE* p = popen(command.c_str(), "r")) {
    unsigned long v = 0;
    if (std::fscanf(p, "%lu", &v) == 1) size = v;
    pclose(p);
  }
  std::remove(path);
  return size;
}

std::vector<std::uint8_t> packOne(const Sample& s, bool solid = false) {
  std::vector<std::uint8_t> out;
  std::string error;
  writeArchive({{s.name.empty() ? "x" : s.name, s.data, 0}}, PackOptions{solid}, out, error);
  return out;
}

void printTable(const std::vector<Sample>& samples) {
  std::printf("%-32s %10s %10s %10s %7s  %s\n", "file", "size", "gzip -9", "sddpack", "ratio",
              "target");
  std::size_t totalGzip = 0, totalPack = 0;
  for (const Sample& s : samples) {
    std::size_t gz = gzipSize(s.data);
    std::vector<std::uint8_t> packed = packOne(s);
    std::size_t body = packed.size() - 20 - 32 - s.name.size();
    totalGzip += gz;
    totalPack += body;
    const char* verdict = s.data.size() <= 64 * 1024 ? "-" : body < gz ? "met" : "MISSED";
    std::printf("%-32s %10zu %10zu %10zu %7.3f  %s\n", s.name.c_str(), s.data.size(), gz, body,
                gz ? double(body) / double(gz) : 0.0, verdict);
  }
  std::printf("%-32s %10s %10zu %10zu %7.3f\n\n", "total", "", totalGzip, totalPack,
              totalGzip ? double(totalPack) / double(totalGzip) : 0.0);
}

void packBenchmark(benchmark::State& state, const Sample& sample) {
  if (sample.data.empty()) {
    state.SkipWithError("no input");
    return;
  }
  std::vector<std::uint8_t> packed;
  for (auto _ : state) {
    packed = packOne(sample);
    benchmark::DoNotOptimize(packed.data());
  }
  std::size_t gz = gzipSize(sample.data);
  state.SetBytesProcessed(std::int64_t(state.iterations() * sample.data.size()));
  state.counters["packed"] = double(packed.size());
  state.counters["gzip9"] = double(gz);
  state.counters["x_gzip9"] = gz ? double(packed.size()) / double(gz) : 0.0;
}

void unpackBenchmark(benchmark::State& state, const Sample& sample) {
  if (sample.data.empty()) {
    state.SkipWithError("no input");
    return;
  }
  std::vector<std::uint8_t> packed = packOne(sample);
  for (auto _ : state) {
    std::unique_ptr<std::uint8_t[]> buffer;
    std::uint32_t size = 0;
    readArchiveEntryAtFromMemory(0, packed.data(), packed.size(), buffer, size);
    benchmark::DoNotOptimize(buffer.get());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations() * sample.data.size()));
}

}  // namespace

int main(int argc, char** argv) {
  static std::vector<Sample> samples;
  samples.push_back({"GPL-3 x 2 MB", textSample()});
  std::vector<Sample> assets = assetSamples();
  if (assets.empty())
    std::printf("no data.sdd in %s yet: only the text sample is measured\n\n", PLASMORA_DATA_DIR);
  samples.insert(samples.end(), assets.begin(), assets.end());
  printTable(samples);

  Sample allAssets{"assets", {}};
  for (const Sample& s : assets)
    allAssets.data.insert(allAssets.data.end(), s.data.begin(), s.data.end());
  static Sample text = samples[0];
  static Sample joined = allAssets;
  benchmark::RegisterBenchmark("pack/text", packBenchmark, text)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("unpack/text", unpackBenchmark, text)->Unit(benchmark::kMillisecond);
  if (!assets.empty()) {
    benchmark::RegisterBenchmark("pack/assets", packBenchmark, joined)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("unpack/assets", unpackBenchmark, joined)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
