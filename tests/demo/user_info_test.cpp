#include "demo/user_info.h"

#include <gtest/gtest.h>

#include "host/fake/fake_host.h"
#include "support/test_files.h"

namespace rw {
namespace {

class GetUserInfoTest : public ::testing::Test {
 protected:
  UserInfo Read(std::string_view bytes) {
    const std::string path = dir.Join("duel.dm_48.description");
    test::WriteBytes(path, bytes);
    return GetUserInfo(files, path, messages);
  }

  test::TempDir dir;
  PosixFileSystem files;
  FakeMessages messages;
};

TEST_F(GetUserInfoTest, ReadsTheFourNotesAndOnlyTheFirstDescriptionLine) {
  const UserInfo info = Read("^1Vi^7sor\r\n5\r\nhttp://x.org/a\r\nGreat game\r\nsecond line\r\n");
  EXPECT_EQ(info.POV, "Visor");
  EXPECT_EQ(info.Rating, "5");
  EXPECT_EQ(info.Web, "http://x.org/a");
  EXPECT_EQ(info.Description, "Great game");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(GetUserInfoTest, TwoLinesGivePovAndRatingOnly) {
  const UserInfo info = Read("Visor\r\n12\r\n");
  EXPECT_EQ(info.POV, "Visor");
  EXPECT_EQ(info.Rating, "12");
  EXPECT_EQ(info.Web, "");
  EXPECT_EQ(info.Description, "");
}

TEST_F(GetUserInfoTest, NotSetMarkersAndEmptyLinesAreEmptyButOtherBytesStay) {
  const UserInfo info = Read("\x01\r\n\r\n\x01x\r\n\x01\r\n");
  EXPECT_EQ(info.POV, "");
  EXPECT_EQ(info.Rating, "");
  EXPECT_EQ(info.Web, "\x01x");
  EXPECT_EQ(info.Description, "");
}

TEST_F(GetUserInfoTest, LastLineNeedsNoLineEndAndLoneLineEndsCount) {
  const UserInfo info = Read("a\nb\rc\r\n\xE4\xF6");
  EXPECT_EQ(info.POV, "a");
  EXPECT_EQ(info.Rating, "b");
  EXPECT_EQ(info.Web, "c");
  // An old file's Windows-1252 text, in UTF-8 as the lists show it.
  EXPECT_EQ(info.Description, "\xC3\xA4\xC3\xB6");
}

TEST_F(GetUserInfoTest, MissingFileIsEmptyWithoutMessage) {
  const UserInfo info = GetUserInfo(files, dir.Join("none.description"), messages);
  EXPECT_EQ(info.POV, "");
  EXPECT_EQ(info.Description, "");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(GetUserInfoTest, UnreadableFileIsReportedAndGivesEmptyValues) {
  // A folder of that name exists but cannot be loaded as lines.
  const std::string path = dir.Join("odd.description");
  std::filesystem::create_directory(path);
  const UserInfo info = GetUserInfo(files, path, messages);
  EXPECT_EQ(info.POV, "");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "RWT Load File Error");
  EXPECT_EQ(messages.shown[0].text, "Parsing.GetUserInfo: " + path);
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::kError);
}

}  // namespace
}  // namespace rw
