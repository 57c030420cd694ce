#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "host/posix/posix_file_system.h"
#include "support/test_files.h"
#include "support/zip_writer.h"

namespace rw {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class ScanCommandTest : public ::testing::Test {
 protected:
  ScanCommandTest() : folder_(dir_.Join("my demos")) {
    const std::string duel = test::ReadBytes(test::TestDataPath("demos/duel.dm_48"));
    test::WriteBytes(folder_ + "/b.dm_48", duel);
    test::WriteBytes(folder_ + "/a.zip", test::ZipBytes({{"x/c.dm_48", duel, 0x2AA38884}}));
    PosixFileSystem().SetModifiedDosTime(folder_ + "/b.dm_48", 0x2F744BC0);
  }
  test::CliRun Scan(const std::string& options) {
    return test::RunCli("scan " + options + " --home '" + dir_.Join("home") + "' '" + folder_ +
                        "'");
  }

  test::TempDir dir_;
  std::string folder_;
};

TEST_F(ScanCommandTest, PrintsRowsAsTabSeparatedColumnsThenTheSummary) {
  const test::CliRun run = Scan("");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u) << run.out;
  // The demo list's default order: "Demoname" descending.
  EXPECT_EQ(lines[0].substr(0, lines[0].find('\t')), "c.dm_48");
  EXPECT_EQ(lines[1].substr(0, lines[1].find('\t')), "b.dm_48");
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(std::count(lines[i].begin(), lines[i].end(), '\t'), 25) << lines[i];
  }
  EXPECT_NE(lines[0].find("\t1304 KB\t2001-05-03 17:04:08\tx\tztn3tourney1\t"), std::string::npos)
      << lines[0];
  EXPECT_NE(lines[0].find("\t" + folder_ + "/a.zip\t"), std::string::npos);
  EXPECT_EQ(lines[2].substr(0, 20), "2 item(s) loaded in ");
  EXPECT_NE(lines[2].find(" sec. 0.00% read from cache. 2.55 MB. Playtime: 00:32:56"),
            std::string::npos)
      << lines[2];
  EXPECT_TRUE(std::filesystem::exists(folder_ + "/rwt_scan"));

  const test::CliRun again = Scan("");
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_NE(again.out.find(" sec. 100.00% read from cache. "), std::string::npos) << again.out;
}

TEST_F(ScanCommandTest, AFolderGivenRelativeShowsFullLocations) {
  const std::string relative =
      std::filesystem::relative(folder_, std::filesystem::current_path()).string();
  ASSERT_NE(relative.front(), '/');
  const test::CliRun run =
      test::RunCli("scan --json --home '" + dir_.Join("home") + "' '" + relative + "/'");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const nlohmann::json rows = nlohmann::json::parse(run.out)["rows"];
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0]["Location"], folder_ + "/a.zip");
  EXPECT_EQ(rows[1]["Location"], folder_);
}

TEST_F(ScanCommandTest, JsonHasRowsKeyedByCaptionAndTheSummary) {
  const test::CliRun run = Scan("--json");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const nlohmann::json out = nlohmann::json::parse(run.out);
  ASSERT_EQ(out["rows"].size(), 2u);
  const nlohmann::json& row = out["rows"][0];
  EXPECT_EQ(row.size(), 26u);
  EXPECT_EQ(row["Demoname"], "c.dm_48");
  EXPECT_EQ(row["Archive Location"], "x");
  EXPECT_EQ(row["Winner"], "cK-fatal1ty");
  EXPECT_EQ(row["Location"], folder_ + "/a.zip");
  EXPECT_EQ(row["Description"], "");
  EXPECT_EQ(out["summary"].get<std::string>().substr(0, 20), "2 item(s) loaded in ");
}

TEST_F(ScanCommandTest, SkipsPipesListsOversizedDemosAndNeverWritesThroughLinks) {
  for (const char* name : {"pipe.dm3", "pipe.zip", "pipe.exe"}) {
    ASSERT_EQ(::mkfifo((folder_ + "/" + name).c_str(), 0600), 0);
  }
  const std::string victim = dir_.Join("victim");
  test::WriteBytes(victim, "precious");
  std::filesystem::create_symlink(victim, folder_ + "/rwt_scan.rwtnew");
  // A member whose central record claims 300 MiB; its bytes are a whole demo.
  std::string big = test::ZipBytes(
      {{"big.dm_48", test::ReadBytes(test::TestDataPath("demos/duel.dm_48")), 0x2AA38884}});
  const size_t record = big.find("PK\x01\x02");
  for (int i = 0; i < 4; ++i) big[record + 24 + i] = static_cast<char>((300u << 20) >> (8 * i));
  test::WriteBytes(folder_ + "/big.zip", big);

  const test::CliRun run = Scan("--json");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const nlohmann::json out = nlohmann::json::parse(run.out);
  std::map<std::string, nlohmann::json> rows;
  for (const nlohmann::json& row : out["rows"]) rows[row["Demoname"]] = row;
  ASSERT_EQ(rows.size(), 3u) << run.out;
  ASSERT_EQ(rows.count("big.dm_48"), 1u) << run.out;
  // Listed as unreadable, with the size its record gives: 300 MiB is 307200 KB.
  EXPECT_EQ(rows["big.dm_48"]["Size"], "307200 KB");
  EXPECT_EQ(rows["big.dm_48"]["Protocol"], "N/A");
  EXPECT_EQ(rows["big.dm_48"]["Map"], "n/a");
  EXPECT_EQ(rows["b.dm_48"]["Map"], "ztn3tourney1");
  EXPECT_EQ(test::ReadBytes(victim), "precious");
  EXPECT_TRUE(std::filesystem::is_symlink(folder_ + "/rwt_scan.rwtnew"));
  EXPECT_FALSE(std::filesystem::is_symlink(folder_ + "/rwt_scan"));
}

TEST_F(ScanCommandTest, AnyNumberOfJobsPrintsTheSameRowsAndWritesTheSameCache) {
  std::map<std::string, std::vector<std::string>> rows;
  std::map<std::string, std::string> caches;
  for (const std::string jobs : {"1", "3"}) {
    std::filesystem::remove(folder_ + "/rwt_scan");
    const test::CliRun run = Scan("--jobs " + jobs);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    rows[jobs] = Lines(run.out);
    ASSERT_EQ(rows[jobs].size(), 3u) << run.out;
    rows[jobs].pop_back();  // the summary, which gives the time taken
    caches[jobs] = test::ReadBytes(folder_ + "/rwt_scan");
  }
  EXPECT_EQ(rows["3"], rows["1"]);
  EXPECT_EQ(caches["3"], caches["1"]);
  for (const std::string jobs : {"0", "x"}) EXPECT_EQ(Scan("--jobs " + jobs).exitCode, 2);
}

TEST_F(ScanCommandTest, AMissingFolderIsReported) {
  const test::CliRun run =
      test::RunCli("scan --home '" + dir_.Join("home") + "' '" + dir_.Join("nowhere") + "'");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find(dir_.Join("nowhere")), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
}

// The demo list's default order (Demoname, descending) in ICU's root collation, which the C
// locale of servers and CI gets; a cache in the byte order of earlier versions still loads.
TEST(ScanCommandOrder, NamesSortAsPeopleReadThemAlsoUnderTheCLocale) {
  test::TempDir dir;
  const std::string folder = dir.Join("demos");
  const std::string demo =
      test::ReadBytes(std::string(REELWRIGHT_SOURCE_DIR) + "/samples/demos/sample_ffa.dm_48");
  for (const char* name : {"alpha", "Beta", "charlie", "_x", "9"}) {
    test::WriteBytes(folder + "/" + name + ".dm_48", demo);
  }
  const char* before = std::getenv("LC_ALL");
  const std::string saved = before == nullptr ? "" : before;
  setenv("LC_ALL", "C", 1);
  const auto names = [&] {
    const test::CliRun run =
        test::RunCli("scan --home '" + dir.Join("home") + "' '" + folder + "'");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> shown;
    for (const std::string& line : Lines(run.out)) shown.push_back(line.substr(0, line.find('\t')));
    return shown;
  };
  const std::vector<std::string> expected = {"charlie.dm_48", "Beta.dm_48", "alpha.dm_48",
                                             "9.dm_48", "_x.dm_48"};
  std::vector<std::string> first = names();
  first.pop_back();  // the summary
  EXPECT_EQ(first, expected);

  std::vector<std::string> lines = Lines(test::ReadBytes(folder + "/rwt_scan"));
  ASSERT_EQ(lines.size(), 5u);
  std::sort(lines.begin(), lines.end());
  std::string byteOrder;
  for (const std::string& line : lines) byteOrder += line + "\n";  // each line keeps its \r
  test::WriteBytes(folder + "/rwt_scan", byteOrder);
  std::vector<std::string> again = names();
  again.pop_back();
  EXPECT_EQ(again, expected);
  EXPECT_EQ(Lines(test::ReadBytes(folder + "/rwt_scan")).size(), 5u);
  if (before == nullptr) {
    unsetenv("LC_ALL");
  } else {
    setenv("LC_ALL", saved.c_str(), 1);
  }
}

}  // namespace
}  // namespace rw
