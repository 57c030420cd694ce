#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/test_files.h"

namespace rw {
namespace {

std::string Quoted(const std::string& text) {
  return "'" + text + "'";
}

class NoteCommandTest : public ::testing::Test {
 protected:
  test::CliRun Note(const std::string& arguments) {
    return test::RunCli("note --home " + Quoted(home.path()) + " " + arguments);
  }
  std::string NotesPath(const std::string& demo) const {
    return home.Join("RWT Data/Demos/" + demo + ".description");
  }

  test::TempDir home;
};

TEST_F(NoteCommandTest, ChangesAndPrintsTheNotesAsTheEditorDoes) {
  test::CliRun run = Note("final.dm3");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "POV: \nRating: 0\nWeb: \nDescription:\n");

  run = Note("--rating 7 --description 'good rail\nwatch the end' final.dm3");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(test::ReadBytes(NotesPath("final.dm3")),
            "\x01\r\n7\r\n\x01\r\ngood rail\r\nwatch the end\r\n");

  // Other values keep theirs; the text arrives as UTF-8 and is kept as Windows-1252.
  run = Note("--pov '^1\xC3\x84rger' --web http://q3.example demos/final.dm3");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(test::ReadBytes(NotesPath("final.dm3")),
            "^1\xC4rger\r\n7\r\nhttp://q3.example\r\ngood rail\r\nwatch the end\r\n");
  run = Note("final.dm3");
  EXPECT_EQ(run.out,
            "POV: ^1\xC3\x84rger\nRating: 7\nWeb: http://q3.example\nDescription:\ngood "
            "rail\nwatch the end\n");

  // All empty deletes the file.
  run = Note("--pov '' --rating 0 --web '' --description '' final.dm3");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_FALSE(std::filesystem::exists(NotesPath("final.dm3")));
}

TEST_F(NoteCommandTest, TextsWindows1252CannotHoldAreKeptAsUtf8) {
  // "Great final — Привет, naïve €", 決勝 and U+1F3AE, as RFC 3629 writes them.
  const std::string description =
      "Great final \xe2\x80\x94 \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82, na\xc3\xafve "
      "\xe2\x82\xac\n\xe6\xb1\xba\xe5\x8b\x9d \xf0\x9f\x8e\xae";
  test::CliRun run = Note("--pov '\xd0\x98\xd0\xb3\xd1\x80\xd0\xbe\xd0\xba' --description '" +
                          description + "' final.dm3");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(
      test::ReadBytes(NotesPath("final.dm3")),
      "\xef\xbb\xbf\xd0\x98\xd0\xb3\xd1\x80\xd0\xbe\xd0\xba\r\n\x01\r\n\x01\r\n"
      "Great final \xe2\x80\x94 \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82, na\xc3\xafve "
      "\xe2\x82\xac\r\n\xe6\xb1\xba\xe5\x8b\x9d \xf0\x9f\x8e\xae\r\n");
  run = Note("final.dm3");
  EXPECT_EQ(run.out,
            "POV: \xd0\x98\xd0\xb3\xd1\x80\xd0\xbe\xd0\xba\nRating: 0\nWeb: \nDescription:\n" +
                description + "\n");

  // Once the text fits Windows-1252 again, the file is an old one again.
  run = Note("--pov '' --description 'na\xc3\xafve \xe2\x82\xac' final.dm3");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(test::ReadBytes(NotesPath("final.dm3")), "\x01\r\n\x01\r\n\x01\r\nna\xefve \x80\r\n");
}

TEST_F(NoteCommandTest, ClearDeletesTheFile) {
  ASSERT_EQ(Note("--web news:q3 a.dm_48").exitCode, 0);
  EXPECT_EQ(test::ReadBytes(NotesPath("a.dm_48")), "\x01\r\n\x01\r\nnews:q3\r\n");
  EXPECT_EQ(Note("--clear a.dm_48").exitCode, 0);
  EXPECT_FALSE(std::filesystem::exists(NotesPath("a.dm_48")));
  EXPECT_EQ(Note("--clear a.dm_48").exitCode, 0);
}

TEST_F(NoteCommandTest, BadUsageAndFailedWrites) {
  EXPECT_EQ(Note("--rating 1000 a.dm3").exitCode, 2);
  EXPECT_EQ(Note("--rating x a.dm3").exitCode, 2);
  EXPECT_EQ(Note("--clear --web x a.dm3").exitCode, 2);
  EXPECT_EQ(Note("--web 'a\nb' a.dm3").exitCode, 2);
  EXPECT_EQ(Note("").exitCode, 2);
  EXPECT_FALSE(std::filesystem::exists(NotesPath("a.dm3")));

  // The notes folder is a file: the replacement's temporary file cannot be made.
  const std::filesystem::path folder = std::filesystem::path(NotesPath("a.dm3")).parent_path();
  std::filesystem::create_directories(folder.parent_path());
  test::WriteBytes(folder.string(), "in the way");
  const test::CliRun run = Note("--rating 6 a.dm3");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("User.ApplyButtonClick: " + NotesPath("a.dm3")), std::string::npos)
      << run.err;
  EXPECT_EQ(test::ReadBytes(folder.string()), "in the way");
}

}  // namespace
}  // namespace rw
