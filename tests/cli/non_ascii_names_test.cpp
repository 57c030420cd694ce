#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "support/test_files.h"
#include "support/zip_writer.h"

namespace rw {
namespace {

std::string Quoted(const std::string& path) {
  return "'" + path + "'";
}

std::string Sample(const std::string& name) {
  return test::ReadBytes(std::string(REELWRIGHT_SOURCE_DIR) + "/samples/demos/" + name);
}

// The names in UTF-8 as RFC 3629 writes them.
const std::string kDiskName = "b\xc3\xa4r.dm_48";                            // bär
const std::string kCyrillicName = "\xd0\xb4\xd0\xb5\xd0\xbc\xd0\xbe.dm_48";  // демо
const std::string kPlainMember = "d\xc3\xa9mo.dm3";                          // démo
const std::string kFlaggedMember = "\xc3\xb1.dm_48";                         // ñ

// A folder holding demos named on disk in UTF-8 and an archive holding one member named in
// Windows-1252 and one whose UTF-8 name carries the UTF-8 flag.
class NonAsciiNames : public ::testing::Test {
 protected:
  NonAsciiNames() {
    test::WriteBytes(folder_ + "/" + kDiskName, Sample("sample_ffa.dm_48"));
    test::WriteBytes(folder_ + "/" + kCyrillicName, Sample("sample_ffa.dm_48"));
    test::ZipMember flagged{kFlaggedMember, Sample("sample_ffa.dm_48"), 0x2AA38884};
    flagged.flags = 0x0800;
    test::WriteBytes(
        folder_ + "/a.zip",
        test::ZipBytes({{"d\xe9mo.dm3", Sample("sample_tdm.dm3"), 0x2AA38884}, flagged}));
    std::filesystem::create_directories(game_ + "/baseq3");
    test::WriteBytes(game_ + "/quake3.exe", "#!/bin/sh\n");
  }
  test::CliRun Cli(const std::string& arguments) const {
    return test::RunCli(arguments + " --home " + Quoted(dir_.Join("home")));
  }
  std::vector<std::vector<std::string>> ScanRows() const {
    const test::CliRun run = Cli("scan " + Quoted(folder_));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(run.out);
    for (std::string line; std::getline(in, line);) {
      std::vector<std::string> columns;
      std::istringstream fields(line);
      for (std::string field; std::getline(fields, field, '\t');) columns.push_back(field);
      if (columns.size() > 1) rows.push_back(columns);
    }
    return rows;
  }

  test::TempDir dir_;
  std::string folder_ = dir_.Join("demos");
  std::string game_ = dir_.Join("game");
};

TEST_F(NonAsciiNames, ListReadAndPlayByTheNamesShown) {
  const std::set<std::string> expected = {kDiskName, kCyrillicName, kPlainMember, kFlaggedMember};
  std::set<std::string> shown;
  for (const auto& row : ScanRows()) {
    shown.insert(row[0]);
    EXPECT_NE(row[4], "N/A") << row[0];  // the map: the demo was read
  }
  EXPECT_EQ(shown, expected);

  const test::CliRun json = Cli("scan --json " + Quoted(folder_));
  ASSERT_EQ(json.exitCode, 0) << json.err;
  std::set<std::string> jsonNames;
  const nlohmann::json parsed = nlohmann::json::parse(json.out);
  for (const auto& row : parsed["rows"]) {
    jsonNames.insert(row["Demoname"].get<std::string>());
  }
  EXPECT_EQ(jsonNames, expected);

  const std::string archive = folder_ + "/a.zip";
  const test::CliRun list = test::RunCli("zip list " + Quoted(archive));
  ASSERT_EQ(list.exitCode, 0) << list.err;
  std::vector<std::string> members;
  std::istringstream lines(list.out);
  std::string line;
  std::getline(lines, line);  // the header
  while (std::getline(lines, line)) members.push_back(line.substr(line.rfind('\t') + 1));
  ASSERT_EQ(members, (std::vector<std::string>{kPlainMember, kFlaggedMember}));
  const std::vector<std::string> samples = {"sample_tdm.dm3", "sample_ffa.dm_48"};
  for (size_t i = 0; i < members.size(); ++i) {
    const std::string out = dir_.Join("out" + std::to_string(i));
    const test::CliRun extract = test::RunCli("zip extract " + Quoted(archive) + " " +
                                              Quoted(members[i]) + " " + Quoted(out));
    EXPECT_EQ(extract.exitCode, 0) << members[i] << extract.err;
    EXPECT_EQ(test::ReadBytes(out), Sample(samples[i]));
    const test::CliRun info =
        Cli("info --json --archive " + Quoted(archive) + " " + Quoted(members[i]));
    ASSERT_EQ(info.exitCode, 0) << info.err;
    const nlohmann::json read = nlohmann::json::parse(info.out);
    EXPECT_EQ(read["Result"], "1");
    EXPECT_EQ(read["DemoInfo"]["Demoname"], members[i]);
  }

  for (const std::string& item : {folder_ + "/" + kDiskName, folder_ + "/" + kCyrillicName,
                                  archive + "::" + kPlainMember, archive + "::" + kFlaggedMember}) {
    const test::CliRun play = Cli("play --dry-run --game " + Quoted(game_) + " " + Quoted(item));
    EXPECT_EQ(play.exitCode, 0) << item << play.err;
  }
}

TEST_F(NonAsciiNames, NotesSetByNameShowInTheRows) {
  ASSERT_EQ(Cli("note --rating 5 " + Quoted(kDiskName)).exitCode, 0);
  ASSERT_EQ(Cli("note --rating 4 --pov 'J\xc3\xbcrgen' " + Quoted(kPlainMember)).exitCode, 0);
  std::map<std::string, std::pair<std::string, std::string>> notes;
  for (const auto& row : ScanRows()) notes[row[0]] = {row[22], row[23]};
  EXPECT_EQ(notes[kDiskName], std::make_pair(std::string(), std::string("5")));
  EXPECT_EQ(notes[kPlainMember], std::make_pair(std::string("J\xc3\xbcrgen"), std::string("4")));
  EXPECT_EQ(notes[kFlaggedMember].second, "");
  // The note's own text is Windows-1252 (U+00FC is 0xFC).
  const std::string file =
      test::ReadBytes(dir_.Join("home") + "/RWT Data/Demos/" + kPlainMember + ".description");
  EXPECT_NE(file.find("J\xfcrgen"), std::string::npos);
}

}  // namespace
}  // namespace rw
