#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "demo/demo_reader.h"
#include "host/posix/posix_file_system.h"
#include "host/posix/steady_clock.h"
#include "library/library_index.h"
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

// One scan of the corpus folder into the demo list, and with an index into the library index.
struct Scanner {
  explicit Scanner(bool withIndex = false) {
    if (!withIndex) return;
    RemoveIndex();
    index = std::make_unique<LibraryIndex>(
        IndexPath(), LibraryIndex::Context{files, messages, locale, "/nonexistent-user-data"});
    context.listings = index.get();
  }
  ~Scanner() {
    index.reset();
    RemoveIndex();
  }
  static std::string IndexPath() { return Corpus().folder + "-library.sqlite"; }
  static void RemoveIndex() {
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(IndexPath() + suffix);
  }

  PosixFileSystem files;
  FixedLocale locale;
  SteadyClock clock;
  AppState state;
  SilentMessages messages;
  DemoReader reader{messages, locale, files};
  ReaderScanSources sources{reader, files, messages, state};
  bench::QuietStatus status;
  CountingRows demoList;
  CountingRows playList;
  ScanContext context{
      files, locale, clock, state, sources, status, demoList, playList, "/nonexistent-user-data"};
  std::unique_ptr<LibraryIndex> index;

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

// Every demo read: no cache. With the index (argument 1), every demo is written into an empty
// index as well.
void BM_ColdScan(benchmark::State& state) {
  const bench::ScanCorpus& corpus = Corpus();
  const bool withIndex = state.range(0) == 1;
  size_t rows = 0;
  std::string summary;
  std::unique_ptr<Scanner> scanner;
  for (auto _ : state) {
    state.PauseTiming();
    scanner.reset();
    std::filesystem::remove(corpus.folder + "/rwt_scan");
    scanner = std::make_unique<Scanner>(withIndex);
    state.ResumeTiming();
    rows = scanner->Scan();
    state.PauseTiming();
    summary = scanner->status.summary;
    state.ResumeTiming();
  }
  if (rows != corpus.demos) state.SkipWithError("the scan did not list every demo");
  SetCounters(state, corpus.demoBytes, corpus.demos);
  state.SetLabel(summary);
}
BENCHMARK(BM_ColdScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

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

// Every demo a cache hit. With the index (argument 1) the folder's records are already there,
// as at every listing but the first; argument 2 fills an index emptied before every scan.
void BM_WarmScan(benchmark::State& state) {
  const bench::ScanCorpus& corpus = Corpus();
  if (state.range(0) == 2) {
    Scanner().Scan();
    size_t rows = 0;
    std::unique_ptr<Scanner> fresh;
    for (auto _ : state) {
      state.PauseTiming();
      fresh.reset();
      fresh = std::make_unique<Scanner>(true);
      state.ResumeTiming();
      rows = fresh->Scan();
    }
    if (rows != corpus.demos) state.SkipWithError("the scan did not list every demo");
    SetCounters(state, corpus.demoBytes, corpus.demos);
    return;
  }
  Scanner scanner(state.range(0) == 1);
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
BENCHMARK(BM_WarmScan)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

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
