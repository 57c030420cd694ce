#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "demo/demo_reader.h"
#include "host/posix/posix_file_system.h"
#include "host/posix/steady_clock.h"
#include "library/parse_cache.h"
#include "library/scan_demos.h"
#include "library/scan_reader_sources.h"
#include "quiet_seams.h"
#include "scan_corpus.h"

namespace rw {
namespace {

constexpr size_t kDemos = 2000;

const bench::ScanCorpus& Corpus() {
  static const bench::ScanCorpus corpus = [] {
    const char* place = std::getenv("REELWRIGHT_BENCH_DIR");
    const std::string root = place != nullptr ? place : std::filesystem::temp_directory_path();
    return bench::MakeScanCorpus(root + "/reelwright-scan-corpus",
                                 {std::string(REELWRIGHT_TESTDATA) + "/demos/tdm.dm3",
                                  std::string(REELWRIGHT_TESTDATA) + "/demos/duel.dm_48"},
                                 kDemos);
  }();
  return corpus;
}

// One scan of the corpus folder into the demo list.
struct Scanner {
  PosixFileSystem files;
  FixedLocale locale;
  SteadyClock clock;
  AppState state;
  bench::SilentMessages messages;
  DemoReader reader{messages, locale, files};
  ReaderScanSources sources{reader, files, messages, state};
  bench::QuietStatus status;
  bench::CountingRows demoList;
  bench::CountingRows playList;
  ScanContext context{
      files, locale, clock, state, sources, status, demoList, playList, "/nonexistent-user-data"};

  size_t Scan() {
    ScanDemos(ScanEntry::Folder(Corpus().folder), context);
    return demoList.rows;
  }
};

void SetCounters(benchmark::State& state, uint64_t bytes, size_t demos) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["demos/s"] = benchmark::Counter(static_cast<double>(demos * state.iterations()),
                                                 benchmark::Counter::kIsRate);
}

// Every demo read: no cache.
void BM_ColdScan(benchmark::State& state) {
  const bench::ScanCorpus& corpus = Corpus();
  Scanner scanner;
  size_t rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(corpus.folder + "/rwt_scan");
    state.ResumeTiming();
    rows = scanner.Scan();
  }
  if (rows != corpus.demos) state.SkipWithError("the scan did not list every demo");
  SetCounters(state, corpus.demoBytes, corpus.demos);
  state.SetLabel(scanner.status.summary);
}
BENCHMARK(BM_ColdScan)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The floor of a cold scan: every file of the folder read whole from the page cache.
void BM_ReadFilesFromPageCache(benchmark::State& state) {
  const bench::ScanCorpus& corpus = Corpus();
  PosixFileSystem files;
  for (auto _ : state) {
    uint64_t bytes = 0;
    for (const std::string& path : corpus.files) bytes += files.ReadFile(path)->size();
    benchmark::DoNotOptimize(bytes);
  }
  SetCounters(state, corpus.demoBytes, corpus.demos);
}
BENCHMARK(BM_ReadFilesFromPageCache)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every demo a cache hit.
void BM_WarmScan(benchmark::State& state) {
  const bench::ScanCorpus& corpus = Corpus();
  Scanner scanner;
  scanner.Scan();
  size_t rows = 0;
  for (auto _ : state) rows = scanner.Scan();
  if (rows != corpus.demos) state.SkipWithError("the scan did not list every demo");
  if (scanner.status.summary.find("100.00% read from cache") == std::string::npos) {
    state.SkipWithError("the warm scan read demos");
  }
  SetCounters(state, corpus.demoBytes, corpus.demos);
  state.SetLabel(scanner.status.summary);
}
BENCHMARK(BM_WarmScan)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor of a warm scan: the folder listed with sizes and times.
void BM_BareEnumeration(benchmark::State& state) {
  const bench::ScanCorpus& corpus = Corpus();
  PosixFileSystem files;
  for (auto _ : state) benchmark::DoNotOptimize(files.List(corpus.folder, "*.*"));
  SetCounters(state, 0, corpus.demos);
}
BENCHMARK(BM_BareEnumeration)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace rw

BENCHMARK_MAIN();
