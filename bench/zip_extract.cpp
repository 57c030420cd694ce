// Extracting a 64 MiB deflated member to memory, next to zlib's own uncompress of the same
// data in one call. Both report MB/s of output (10^6 bytes a second).
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/extractor.h"
#include "host/message_pump.h"
#include "host/posix/posix_file_system.h"
#include "host/posix/steady_clock.h"

namespace {

constexpr size_t kMemberSize = 64u << 20;

// Text-like bytes that deflate about four to one, like demos and game data do.
std::vector<uint8_t> MakeData() {
  static const char* const kWords[] = {
      "print \"", "^1Sarge^7 ", "was railed by ", "q3dm17 ",   "cs 544 \"", "\\name\\",
      "score ",   "\n",         "Quad Damage ",   "team_red ", "0 ",        "1 ",
      "27 ",      "-1 ",        "\\model\\"};
  std::vector<uint8_t> data;
  data.reserve(kMemberSize);
  uint32_t state = 12345;
  while (data.size() < kMemberSize) {
    state = state * 1664525u + 1013904223u;
    for (const char* c = kWords[(state >> 20) % 15]; *c != '\0'; ++c) data.push_back(*c);
    if ((state & 0xF) == 0) data.push_back(static_cast<uint8_t>(state >> 8));
  }
  data.resize(kMemberSize);
  return data;
}

std::vector<uint8_t> Compress(const std::vector<uint8_t>& data, int windowBits) {
  z_stream stream{};
  if (deflateInit2(&stream, 6, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2");
  }
  std::vector<uint8_t> out(deflateBound(&stream, data.size()));
  stream.next_in = const_cast<Bytef*>(data.data());
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  if (deflate(&stream, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

void Put(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

struct Corpus {
  std::vector<uint8_t> data;
  std::vector<uint8_t> zlibStream;
  std::string archivePath;

  Corpus() {
    data = MakeData();
    zlibStream = Compress(data, MAX_WBITS);
    const std::vector<uint8_t> raw = Compress(data, -MAX_WBITS);
    const uint32_t crc = static_cast<uint32_t>(crc32_z(0, data.data(), data.size()));
    std::string header;
    Put(header, 0x04034B50, 4);
    Put(header, 20, 2);
    Put(header, 0, 2);
    Put(header, 8, 2);
    Put(header, 0x3A8F6C35, 4);
    Put(header, crc, 4);
    Put(header, static_cast<uint32_t>(raw.size()), 4);
    Put(header, static_cast<uint32_t>(data.size()), 4);
    Put(header, 5, 2);
    Put(header, 0, 2);
    header += "a.dm3";
    archivePath = "/tmp/bench_zip_extract_" + std::to_string(getpid()) + ".zip";
    std::FILE* file = std::fopen(archivePath.c_str(), "wb");
    if (file == nullptr) throw std::runtime_error("cannot write " + archivePath);
    std::fwrite(header.data(), 1, header.size(), file);
    std::fwrite(raw.data(), 1, raw.size(), file);
    std::fclose(file);
  }
  ~Corpus() { std::remove(archivePath.c_str()); }
};

Corpus& TheCorpus() {
  static Corpus corpus;
  return corpus;
}

void ReportOutputRate(benchmark::State& state) {
  state.counters["MB/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kMemberSize / 1e6, benchmark::Counter::kIsRate);
}

void BM_ExtractDeflatedMemberToMemory(benchmark::State& state) {
  Corpus& corpus = TheCorpus();
  rw::SteadyClock clock;
  rw::NoMessagePump pump;
  rw::PosixFileSystem files;
  rw::Extractor extractor(clock, pump, files);
  std::vector<uint8_t> destination(kMemberSize);
  for (auto _ : state) {
    uint32_t size = kMemberSize;
    const int code =
        extractor.unzipfiletomemory(corpus.archivePath, destination.data(), size, {}, 0);
    if (code != 0 || size != kMemberSize) state.SkipWithError("extraction failed");
    benchmark::DoNotOptimize(destination.data());
  }
  ReportOutputRate(state);
}

void BM_ZlibUncompressInOneCall(benchmark::State& state) {
  Corpus& corpus = TheCorpus();
  std::vector<uint8_t> destination(kMemberSize);
  for (auto _ : state) {
    uLongf size = kMemberSize;
    if (uncompress(destination.data(), &size, corpus.zlibStream.data(), corpus.zlibStream.size()) !=
        Z_OK) {
      state.SkipWithError("uncompress failed");
    }
    benchmark::DoNotOptimize(destination.data());
  }
  ReportOutputRate(state);
}

BENCHMARK(BM_ExtractDeflatedMemberToMemory)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ZlibUncompressInOneCall)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
