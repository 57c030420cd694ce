// The cold scan of a folder of demos of protocols 66 to 68 (copies of the real ones cut to
// different sizes, some inside ZIP archives) beside a bare `cat` of the same files, timed in
// the same iterations: bytes a second of both and the ratio of their times.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "demo/demo_reader.h"
#include "host/posix/posix_file_system.h"
#include "host/posix/steady_clock.h"
#include "library/scan_demos.h"
#include "library/scan_reader_sources.h"
#include "quiet_seams.h"
#include "scan_corpus.h"

extern char** environ;

namespace rw {
namespace {

constexpr size_t kDemos = 600;

const bench::ScanCorpus& Corpus() {
  static const bench::ScanCorpus corpus = [] {
    const char* place = std::getenv("REELWRIGHT_BENCH_DIR");
    const std::string root = place != nullptr ? place : std::filesystem::temp_directory_path();
    const std::string newer = std::string(REELWRIGHT_TESTDATA) + "/demos/newer/";
    return bench::MakeScanCorpus(
        root + "/reelwright-later-scan-corpus",
        {newer + "2002 - Duel 3 (Quakecon).dm_67", newer + "udt_baseq3_team_chat.dm_68",
         newer + "czimnick_test.dm_68"},
        kDemos);
  }();
  return corpus;
}

// Seconds `cat` takes to copy every file of the folder to /dev/null.
double CatSeconds(const std::vector<std::string>& files) {
  std::vector<char*> arguments{const_cast<char*>("cat")};
  for (const std::string& file : files) arguments.push_back(const_cast<char*>(file.c_str()));
  arguments.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  int status = 0;
  const bool ran = posix_spawnp(&pid, "cat", &actions, nullptr, arguments.data(), environ) == 0 &&
                   waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  const auto end = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&actions);
  return ran ? std::chrono::duration<double>(end - start).count() : -1;
}

void BM_ColdScanOfLaterDemosBesideCat(benchmark::State& state) {
  const bench::ScanCorpus& corpus = Corpus();
  PosixFileSystem files;
  FixedLocale locale;
  SteadyClock clock;
  AppState app;
  SilentMessages messages;
  DemoReader reader{messages, locale, files};
  ReaderScanSources sources{reader, files, messages, app};
  bench::QuietStatus status;
  CountingRows demoList;
  CountingRows playList;
  ScanContext context{
      files, locale, clock, app, sources, status, demoList, playList, "/nonexistent-user-data"};
  double scanSeconds = 0;
  double catSeconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(corpus.folder + "/rwt_scan");
    const double cat = CatSeconds(corpus.files);
    if (cat < 0) state.SkipWithError("cat failed");
    catSeconds += cat;
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    ScanDemos(ScanEntry::Folder(corpus.folder), context);
    scanSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  if (demoList.rows != corpus.demos) state.SkipWithError("the scan did not list every demo");
  if (status.summary.find(" 0.00% read from cache") == std::string::npos) {
    state.SkipWithError("the scan was not cold");
  }
  const auto bytes = static_cast<double>(corpus.fileBytes * state.iterations());
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.counters["scan_GB/s"] = bytes / scanSeconds / 1e9;
  state.counters["cat_GB/s"] = bytes / catSeconds / 1e9;
  state.counters["scan/cat"] = scanSeconds / catSeconds;
  state.counters["demos"] = static_cast<double>(corpus.demos);
  state.SetLabel(status.summary);
}
BENCHMARK(BM_ColdScanOfLaterDemosBesideCat)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

}  // namespace
}  // namespace rw

BENCHMARK_MAIN();
