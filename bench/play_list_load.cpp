// Loading a play list of every demo of one folder: each folder is listed and its parse cache
// loaded once per play list, so the cost grows with the lines, not with their square.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "host/locale.h"
#include "host/posix/posix_file_system.h"
#include "host/posix/steady_clock.h"
#include "library/scan_demos.h"
#include "playback/play_list_file.h"
#include "quiet_seams.h"
#include "scan_corpus.h"

namespace rw {
namespace {

// Demos come from the parse cache; a miss would be a fault of the benchmark.
class CacheOnlySources : public ScanSources {
 public:
  bool IsArchiveFile(const std::string&) override { return false; }
  int ArchiveFindFirst(const std::string&, const std::string&, ScanMember&) override { return 1; }
  int ArchiveFindNext(const std::string&, ScanMember&) override { return 1; }
  void ArchiveClose() override {}
  ListRow ReadDemo(const std::string&, const std::string&) override {
    ++reads;
    ListRow row;
    row[13] = "48";
    return row;
  }
  UserInfo GetUserInfo(const std::string&) override { return {}; }
  size_t reads = 0;
};

// A folder of small demos with its parse cache written, and a play list naming each one.
struct PlayListCorpus {
  std::string folder;
  std::string list;
  std::vector<std::string> lines;
};

const PlayListCorpus& Corpus(size_t demos) {
  static std::map<size_t, PlayListCorpus> made;
  auto [place, added] = made.try_emplace(demos);
  PlayListCorpus& corpus = place->second;
  if (!added) return corpus;
  const char* root = std::getenv("REELWRIGHT_BENCH_DIR");
  const std::string base = root != nullptr ? root : std::filesystem::temp_directory_path();
  corpus.folder = base + "/reelwright-play-list-" + std::to_string(demos);
  corpus.list = corpus.folder + ".rwt";
  std::filesystem::remove_all(corpus.folder);
  std::filesystem::create_directories(corpus.folder);
  const std::string demo = bench::corpus_detail::CutDemo(
      bench::corpus_detail::ReadWhole(std::string(REELWRIGHT_TESTDATA) + "/demos/duel.dm_48"),
      20000);
  std::string text = std::string(kPlayListHeader) + "\r\n";
  for (size_t i = 0; i < demos; ++i) {
    const std::string path =
        corpus.folder + "/demo " + std::to_string(100000 + i).substr(1) + ".dm_48";
    std::ofstream(path, std::ios::binary)
        .write(demo.data(), static_cast<std::streamsize>(demo.size()));
    corpus.lines.push_back(path);
    text += path + "\r\n";
  }
  std::ofstream(corpus.list, std::ios::binary)
      .write(text.data(), static_cast<std::streamsize>(text.size()));
  return corpus;
}

struct Loader {
  PosixFileSystem files;
  FixedLocale locale;
  SteadyClock clock;
  AppState state;
  CacheOnlySources sources;
  bench::QuietStatus status;
  SilentMessages messages;
  CountingRows demoList;
  CountingRows playList;
  ScanContext context{
      files, locale, clock, state, sources, status, demoList, playList, "/nonexistent-user-data"};

  explicit Loader(const PlayListCorpus& corpus) {
    ScanDemos(ScanEntry::Folder(corpus.folder), context);  // writes the parse cache
    sources.reads = 0;
  }
};

void BM_LoadPlayListOfOneFolder(benchmark::State& state) {
  const PlayListCorpus& corpus = Corpus(static_cast<size_t>(state.range(0)));
  Loader loader(corpus);
  for (auto _ : state) {
    const PlayListLoad load = LoadPlayList(corpus.list, loader.context, loader.messages);
    if (load.entries != corpus.lines.size()) state.SkipWithError("not every line loaded");
  }
  if (loader.sources.reads != 0) state.SkipWithError("a demo was read instead of taken from cache");
  state.counters["lines/s"] = benchmark::Counter(
      static_cast<double>(corpus.lines.size() * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LoadPlayListOfOneFolder)
    ->Arg(1000)
    ->Arg(4000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same lines each scanned on its own, listing the folder and loading its cache each time:
// what the play list load no longer does.
void BM_LinesScannedOneByOne(benchmark::State& state) {
  const PlayListCorpus& corpus = Corpus(static_cast<size_t>(state.range(0)));
  Loader loader(corpus);
  for (auto _ : state) {
    loader.playList.Clear();
    for (const std::string& line : corpus.lines) {
      ScanDemos(ScanEntry::DemoFile(line), loader.context);
    }
    if (loader.playList.rows != corpus.lines.size()) state.SkipWithError("not every line loaded");
  }
  state.counters["lines/s"] = benchmark::Counter(
      static_cast<double>(corpus.lines.size() * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LinesScannedOneByOne)
    ->Arg(1000)
    ->Arg(4000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace
}  // namespace rw

BENCHMARK_MAIN();
