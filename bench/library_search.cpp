#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "host/dos_time.h"
#include "host/posix/posix_file_system.h"
#include "library/demo_row.h"
#include "library/library_index.h"
#include "library/list_filter.h"
#include "library/sorted_rows.h"
#include "quiet_seams.h"

namespace rw {
namespace {

constexpr size_t kIndexedDemos = 100000;
constexpr size_t kFolders = 1000;
constexpr size_t kListedRows = 10000;

// Demos as collections have them: maps, types and mods of the era, players drawn from a pool
// of made-up names, a note on one demo in ten.
std::vector<IndexedDemo> MakeDemos(const std::string& folder, size_t count, std::mt19937& random) {
  static const char* kMaps[] = {"q3dm6",      "q3dm7",  "q3dm13",       "q3dm17",
                                "q3tourney2", "q3wcp9", "ztn3tourney1", "pro-q3dm6",
                                "q3ctf1",     "q3ctf4", "st1",          "cpm22"};
  static const char* kTypes[] = {"Free for All", "Tournament", "Team Deathmatch",
                                 "Capture the Flag"};
  static const char* kMods[] = {"baseq3", "osp", "cpma", "defrag"};
  static const char* kSyllables[] = {"fa", "tal", "ity", "vi",   "sor", "ze", "ro",  "gr",
                                     "ap", "ha",  "toe", "cool", "ler", "ra", "pid", "k"};
  const auto name = [&] {
    std::string made;
    for (int i = std::uniform_int_distribution<int>(2, 4)(random); i > 0; --i) {
      made += kSyllables[random() % 16];
    }
    return made;
  };
  std::vector<IndexedDemo> demos;
  for (size_t i = 0; i < count; ++i) {
    const std::string map = kMaps[random() % 12];
    std::string players;
    for (int p = std::uniform_int_distribution<int>(2, 8)(random); p > 0; --p) {
      players += (players.empty() ? "" : "\n") + name();
    }
    const uint32_t dosTime =
        ToDosTime({static_cast<int>(1999 + random() % 25), static_cast<int>(1 + random() % 12),
                   static_cast<int>(1 + random() % 28), 12, 0, 0});
    const uint32_t seconds = random() % 3600;
    char playtime[16];
    std::snprintf(playtime, sizeof playtime, "%02u:%02u:%02u", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    const std::string fields[] = {name() + "_" + map + ".dm_48",
                                  std::to_string(100000 + random() % 5000000),
                                  std::to_string(static_cast<int32_t>(dosTime)),
                                  "",
                                  map,
                                  playtime,
                                  "Q3 1.32",
                                  kTypes[random() % 4],
                                  kMods[random() % 4],
                                  "server " + name(),
                                  "15",
                                  "N/S",
                                  "8",
                                  std::to_string(43 + random() % 26),
                                  "16",
                                  "25000",
                                  "N/S",
                                  "N/S",
                                  name(),
                                  name(),
                                  "20:5"};
    std::string line;
    for (const std::string& field : fields) line += field + '\x01';
    UserInfo notes;
    if (random() % 10 == 0) {
      notes.Rating = std::to_string(random() % 6);
      notes.Description = "great game " + name();
    }
    demos.push_back({line, folder, notes, players});
  }
  return demos;
}

// An index of kIndexedDemos demos in kFolders folders, kept for the next run.
struct BigIndex {
  SilentMessages messages;
  FixedLocale locale;
  PosixFileSystem files;
  std::unique_ptr<LibraryIndex> index;
  std::vector<std::string> folders;

  BigIndex() {
    const char* place = std::getenv("REELWRIGHT_BENCH_DIR");
    const std::string root =
        (place != nullptr ? std::string(place) : std::filesystem::temp_directory_path().string()) +
        "/reelwright-library-index";
    std::filesystem::create_directories(root);
    const std::string marker = root + "/.complete-" + std::to_string(kIndexedDemos);
    const bool made = std::filesystem::exists(marker);
    index = std::make_unique<LibraryIndex>(root + "/Library.sqlite",
                                           LibraryIndex::Context{files, messages, locale, root});
    std::mt19937 random(22);
    for (size_t f = 0; f < kFolders; ++f) {
      folders.push_back("/demos/folder " + std::to_string(f));
      if (!made) {
        index->FolderListed(folders.back(),
                            MakeDemos(folders.back(), kIndexedDemos / kFolders, random));
      }
    }
    if (!made) std::ofstream(marker) << kIndexedDemos << '\n';
  }
};

BigIndex& Index() {
  static BigIndex big;
  return big;
}

const char* const kQueries[] = {
    "fatal",                                        // a free word
    "player:fatal map:q3dm17 rating:>=4",           // free text and fields
    "type:ctf after:2001-05-01 -mod:osp len:>10m",  // fields, an exclusion, numbers
    "toeler \"great game\" -map:q3dm6 proto:>=66",  // a phrase among words
    "zz",                                           // too short for the index
};

// One query over every folder of the index: how many demos match (argument 1 = 0), or those
// and their rows as Find Demos shows them (1).
void BM_FindIn100000Demos(benchmark::State& state) {
  BigIndex& big = Index();
  const DemoQuery query = ParseDemoQuery(kQueries[state.range(0)]).query;
  const size_t limit = state.range(1) == 0 ? 0 : SIZE_MAX;
  size_t found = 0;
  for (auto _ : state) found = big.index->Find(query, big.folders, limit).total;
  state.counters["found"] = static_cast<double>(found);
  state.SetLabel(kQueries[state.range(0)]);
}
BENCHMARK(BM_FindIn100000Demos)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The filter box over a listed folder of kListedRows rows: each keystroke of "fatal1ty -map:q3"
// filters the whole list again.
void BM_FilterKeystrokeOn10000Rows(benchmark::State& state) {
  SilentMessages messages;
  FixedLocale locale;
  PosixFileSystem files;
  const std::string root = std::filesystem::temp_directory_path().string() + "/reelwright-filter";
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root);
  LibraryIndex index(root + "/Library.sqlite", {files, messages, locale, root});
  std::mt19937 random(10);
  const std::vector<IndexedDemo> demos = MakeDemos("/demos", kListedRows, random);
  index.FolderListed("/demos", demos);
  SortedRows rows(locale, 0, false);
  for (const IndexedDemo& demo : demos) {
    rows.Append(RowFromCacheLine(demo.line, demo.location, demo.notes, locale));
  }
  rows.Resort();
  ListFilter filter(locale);
  filter.SetExtras(index.ExtrasOf("/demos"));
  const std::string typed = "fatal1ty -map:q3";
  // The records a query reads are made once, when the list is first filtered.
  filter.SetText("f");
  rows.SetFilter([&filter](const ListRow& row) { return filter.Shows(row); });
  size_t keystroke = 0;
  size_t shown = 0;
  for (auto _ : state) {
    // From the first letter to the whole text, and again.
    const std::string text = typed.substr(0, keystroke % typed.size() + 1);
    ++keystroke;
    if (!filter.SetText(text)) {
      rows.SetFilter([&filter](const ListRow& row) { return filter.Shows(row); });
    }
    shown += rows.RowCount();
  }
  state.counters["rows shown"] =
      benchmark::Counter(static_cast<double>(shown), benchmark::Counter::kAvgIterations);
  std::filesystem::remove_all(root);
}
BENCHMARK(BM_FilterKeystrokeOn10000Rows)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace rw

BENCHMARK_MAIN();
