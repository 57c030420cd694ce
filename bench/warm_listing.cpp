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

constexpr size_t kDemos = 10000;
// A demo's first records up to this size: small demos, as a folder of many clips has.
constexpr size_t kDemoBytes = 4096;

// A folder of small demos under plain names, one minute apart, and the program's home.
struct WarmFolder {
  std::string folder;
  std::string home;
};

WarmFolder MakeWarmFolder() {
  const char* place = std::getenv("REELWRIGHT_BENCH_DIR");
  const std::string root =
      (place != nullptr ? std::string(place) : std::filesystem::temp_directory_path().string()) +
      "/reelwright-warm-listing";
  WarmFolder made{root + "/demos", root + "/home"};
  const std::string marker = root + "/.complete-" + std::to_string(kDemos);
  if (std::filesystem::exists(marker)) return made;
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(made.folder);
  std::filesystem::create_directories(made.home);
  const std::string samples[] = {
      bench::corpus_detail::ReadWhole(std::string(REELWRIGHT_TESTDATA) + "/demos/tdm.dm3"),
      bench::corpus_detail::ReadWhole(std::string(REELWRIGHT_TESTDATA) + "/demos/duel.dm_48")};
  PosixFileSystem files;
  for (size_t i = 0; i < kDemos; ++i) {
    const std::string bytes = bench::corpus_detail::CutDemo(samples[i % 2], kDemoBytes);
    const std::string path = made.folder + "/demo " + std::to_string(100000 + i).substr(1) +
                             (i % 2 == 0 ? ".dm3" : ".dm_48");
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    files.SetModifiedDosTime(path, bench::corpus_detail::DosTimeOf(i));
  }
  std::ofstream(marker) << kDemos << '\n';
  return made;
}

// The warm listing of reelwright-cli scan against a bare listing of the same folder with
// sizes and dates, both as whole processes, run in turn so that a busy machine slows both
// alike. Reported: the median time of each and their ratio, the goal being at most 3.
void BM_WarmListingAgainstBareListing(benchmark::State& state) {
  const WarmFolder warm = MakeWarmFolder();
  const std::vector<std::string> scan = {REELWRIGHT_CLI, "scan", "--home", warm.home, warm.folder};
  const std::vector<std::string> bare = {"find", warm.folder, "-maxdepth",
                                         "1",    "-printf",   "%s %T@ %p\n"};
  const std::string listing = warm.home + "/listing.txt";
  // The first run fills the parse cache; the second must find every demo in it.
  bench::RunProcess(scan, listing);
  bench::RunProcess(scan, listing);
  std::ifstream in(listing);
  std::string line;
  std::string summary;
  while (std::getline(in, line)) summary = line;
  // "100.00% read from cache", with the locale's decimal separator.
  const size_t cached = summary.find("00% read from cache");
  if (cached == std::string::npos || cached < 4 || summary.compare(cached - 4, 3, "100") != 0) {
    state.SkipWithError(("the listing is not warm: " + summary).c_str());
    return;
  }
  std::vector<double> scans;
  std::vector<double> bares;
  for (auto _ : state) {
    bares.push_back(bench::RunProcess(bare, "/dev/null"));
    scans.push_back(bench::RunProcess(scan, "/dev/null"));
    state.SetIterationTime(scans.back());
  }
  state.counters["warm_ms"] = bench::Median(scans) * 1000;
  state.counters["bare_ms"] = bench::Median(bares) * 1000;
  state.counters["ratio"] = bench::Median(scans) / bench::Median(bares);
  state.SetLabel(std::to_string(kDemos) + " demos, times are medians");
}
BENCHMARK(BM_WarmListingAgainstBareListing)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(30);

}  // namespace
}  // namespace rw

BENCHMARK_MAIN();
