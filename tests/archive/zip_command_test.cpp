#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_files.h"
#include "zip_builder.h"

namespace rw {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Quoted(const std::string& path) {
  return "'" + path + "'";
}

TEST(ZipCommandTest, ListsOneMemberALine) {
  const test::CliRun run =
      test::RunCli("zip list " + Quoted(test::TestDataPath("pk3/openarena-sample.pk3")));
  EXPECT_EQ(run.exitCode, 0);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines[0], "Size\tCompressed\tMethod\tCRC-32\tModified\tOffset\tName");
  // From zipinfo -v.
  EXPECT_EQ(lines[14],
            "1422\t1382\t8\tbd8c8467\t2009-11-19 23:23:10\t375723\tsound\\le\\bullet1.wav");
  EXPECT_EQ(lines[5], "0\t0\t0\t00000000\t2026-12-07 04:42:14\t183900\tmodels\\");
}

TEST(ZipCommandTest, ListsTheBundledSample) {
  const test::CliRun run = test::RunCli(
      "zip list " + Quoted(std::string(REELWRIGHT_SOURCE_DIR) + "/samples/archive.zip"));
  EXPECT_EQ(run.exitCode, 0);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[3], "33\t33\t0\te7a99b73\t2001-05-03 17:04:08\t200\tdemos\\notes.txt");
}

TEST(ZipCommandTest, ReportsUnreadableArchives) {
  test::TempDir dir;
  const test::CliRun run = test::RunCli("zip list " + Quoted(dir.Join("none.zip")));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find(dir.Join("none.zip")), std::string::npos);
  EXPECT_TRUE(run.out.empty());
  EXPECT_EQ(test::RunCli("zip list").exitCode, 2);
  EXPECT_EQ(test::RunCli("zip").exitCode, 2);
}

TEST(ZipCommandTest, ExtractsAMemberAndExitsWithTheExtractorsCode) {
  test::TempDir dir;
  const std::string pk3 = Quoted(test::TestDataPath("pk3/openarena-sample.pk3"));
  const std::string out = dir.Join("shots/ps37ctf2.jpg");
  test::CliRun run = test::RunCli("zip extract " + pk3 + " LEVELSHOTS/ps37ctf2.jpg " + Quoted(out));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::string bytes = test::ReadBytes(out);
  EXPECT_EQ(bytes.size(), 4223u);
  EXPECT_EQ(test::Crc32(bytes), 0xaf954d9au);  // zipinfo -v

  run = test::RunCli("zip extract " + pk3 + " 'models\\players\\' " + Quoted(dir.Join("players")));
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(std::filesystem::is_directory(dir.Join("players")));

  run = test::RunCli("zip extract " + pk3 + " levelshots/none.jpg " + Quoted(dir.Join("n")));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("levelshots\\none.jpg"), std::string::npos);

  test::ZipMember tokenized = test::Member("a.dm3", "data");
  tokenized.method = 7;
  const std::string archive = dir.Join("m7.zip");
  test::WriteBytes(archive, test::BuildZip({tokenized}));
  run = test::RunCli("zip extract " + Quoted(archive) + " a.dm3 " + Quoted(dir.Join("a.dm3")));
  EXPECT_EQ(run.exitCode, 6);
  EXPECT_FALSE(std::filesystem::exists(dir.Join("a.dm3")));
  EXPECT_NE(run.err.find("not supported"), std::string::npos);
}

}  // namespace
}  // namespace rw
