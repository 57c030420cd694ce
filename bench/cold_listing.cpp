// The cold listing of reelwright-cli scan (no parse cache, every demo read) against `cat` of
// the same files, both as whole processes run in turn, so that a busy machine slows both alike:
// a folder of 1,000 whole real demos and one of 10,000 demos of 64 KB to 1 MB, some inside
// archives. Reported: the median time of each and their ratio, the goal on two processors
// being at most 1.5. The folders go to $REELWRIGHT_BENCH_DIR, else the temporary folder, and
// are kept for the next run.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/posix/posix_file_system.h"
#include "process_timing.h"
#include "scan_corpus.h"

namespace rw {
namespace {

std::string BenchRoot() {
  const char* place = std::getenv("REELWRIGHT_BENCH_DIR");
  return place != nullptr ? std::string(place) : std::filesystem::temp_directory_path().string();
}

std::string TestData(const std::string& relative) {
  return std::string(REELWRIGHT_TESTDATA) + "/" + relative;
}

// Whole copies of the real demos of every readable generation, one minute apart.
std::vector<std::string> RealDemoFolder(size_t count) {
  const std::string folder = BenchRoot() + "/reelwright-real-demos-" + std::to_string(count);
  const std::string marker = folder + "/.complete";
  const std::vector<std::string> samples = {"demos/duel.dm_48",
                                            "demos/tdm.dm3",
                                            "demos/newer/2002 - Duel 3 (Quakecon).dm_67",
                                            "demos/duel.dm_48",
                                            "demos/newer/czimnick_test.dm_68",
                                            "demos/newer/udt_baseq3_team_chat.dm_68"};
  std::vector<std::string> files;
  for (size_t i = 0; i < count; ++i) {
    const std::string& sample = samples[i % samples.size()];
    files.push_back(folder + "/real " + std::to_string(10000 + i).substr(1) +
                    sample.substr(sample.rfind('.')));
  }
  if (std::filesystem::exists(marker)) return files;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  PosixFileSystem host;
  for (size_t i = 0; i < count; ++i) {
    std::filesystem::copy_file(TestData(samples[i % samples.size()]), files[i]);
    host.SetModifiedDosTime(files[i], bench::corpus_detail::DosTimeOf(i));
  }
  std::ofstream(marker) << count << '\n';
  return files;
}

std::vector<std::string> MixedDemoFolder(size_t count) {
  // The same folder as the window's listing benchmark, so that both share it.
  return bench::MakeScanCorpus(BenchRoot() + "/reelwright-gui-corpus",
                               {TestData("demos/tdm.dm3"), TestData("demos/duel.dm_48")}, count)
      .files;
}

void ColdListingAgainstCat(benchmark::State& state, const std::vector<std::string>& files,
                           size_t demos, const std::string& jobs) {
  const std::string folder = files.front().substr(0, files.front().rfind('/'));
  const std::string home = BenchRoot() + "/reelwright-cold-listing-home";
  std::filesystem::create_directories(home);
  std::vector<std::string> scan = {REELWRIGHT_CLI, "scan", "--home", home};
  if (!jobs.empty()) scan.insert(scan.end(), {"--jobs", jobs});
  scan.push_back(folder);
  std::vector<std::string> cat = {"cat"};
  cat.insert(cat.end(), files.begin(), files.end());
  // Both read from the page cache, as far as the machine keeps it; each goes first in turn, so
  // that neither always finds what the other just read.
  bench::RunProcess(cat, "/dev/null");
  std::vector<double> scans;
  std::vector<double> cats;
  for (auto _ : state) {
    std::filesystem::remove(folder + "/rwt_scan");
    if (cats.size() % 2 == 0) cats.push_back(bench::RunProcess(cat, "/dev/null"));
    scans.push_back(bench::RunProcess(scan, "/dev/null"));
    if (cats.size() < scans.size()) cats.push_back(bench::RunProcess(cat, "/dev/null"));
    state.SetIterationTime(scans.back());
  }
  if (!std::filesystem::exists(folder + "/rwt_scan")) {
    state.SkipWithError("the listing wrote no parse cache");
    return;
  }
  state.counters["scan_ms"] = bench::Median(scans) * 1000;
  state.counters["cat_ms"] = bench::Median(cats) * 1000;
  state.counters["ratio"] = bench::Median(scans) / bench::Median(cats);
  state.SetLabel(std::to_string(demos) + " demos, " +
                 (jobs.empty() ? "one job a processor" : jobs + " job(s)") + ", medians");
}

void BM_RealDemos(benchmark::State& state) {
  ColdListingAgainstCat(state, RealDemoFolder(1000), 1000, "");
}
BENCHMARK(BM_RealDemos)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(7);

// The same with one reader, for the gain of reading side by side.
void BM_RealDemosOneJob(benchmark::State& state) {
  ColdListingAgainstCat(state, RealDemoFolder(1000), 1000, "1");
}
BENCHMARK(BM_RealDemosOneJob)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void BM_TenThousandDemos(benchmark::State& state) {
  ColdListingAgainstCat(state, MixedDemoFolder(10000), 10000, "");
}
BENCHMARK(BM_TenThousandDemos)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace
}  // namespace rw

BENCHMARK_MAIN();
