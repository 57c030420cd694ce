#include "model/profile_file.h"

#include <gtest/gtest.h>

#include "host/fake/fake_host.h"
#include "support/test_files.h"

namespace rw {
namespace {

TEST(ProfileFile, NamesIgnoreCaseAndValuesAreTrimmed) {
  const ProfileFile file = ProfileFile::Parse(
      "[Play List]\r\n"
      "Width = 250 \r\n"
      "[GLOBAL]\n"
      "Q3A_Dir=C:\\Games\\Quake III Arena\n");
  EXPECT_EQ(file.ReadInteger("play list", "width", 0), 250);
  EXPECT_EQ(file.ReadString("Global", "q3a_dir", ""), "C:\\Games\\Quake III Arena");
  EXPECT_EQ(file.ReadString("Global", "missing", "fallback"), "fallback");
  EXPECT_EQ(file.ReadString("Nowhere", "q3a_dir", "fallback"), "fallback");
}

TEST(ProfileFile, WidthAndWidthAreOneKey) {
  ProfileFile file = ProfileFile::Parse("[Play List]\r\nwidth=120\r\n");
  file.WriteInteger("Play List", "Width", 333);
  EXPECT_EQ(file.ReadInteger("Play List", "width", 0), 333);
  EXPECT_EQ(file.Serialize(), "[Play List]\r\nWidth=333\r\n");
}

TEST(ProfileFile, IntegersInDecimalAndBothHexForms) {
  const ProfileFile file = ProfileFile::Parse(
      "[S]\r\nhex=0x1F\r\nHEX=ignored\r\nupper=0X1f\r\ndollar=$1F\r\nneg=-2500\r\n"
      "max=2147483647\r\nover=2147483648\r\nmin=-2147483648\r\nword=abc\r\nhalf=12abc\r\n"
      "empty=\r\nbare=0x\r\nall=$FFFFFFFF\r\nplus=+7\r\n");
  EXPECT_EQ(file.ReadInteger("S", "hex", -1), 31);
  EXPECT_EQ(file.ReadInteger("S", "upper", -1), 31);
  EXPECT_EQ(file.ReadInteger("S", "dollar", -1), 31);
  EXPECT_EQ(file.ReadInteger("S", "neg", 0), -2500);
  EXPECT_EQ(file.ReadInteger("S", "max", 0), 2147483647);
  EXPECT_EQ(file.ReadInteger("S", "over", 5), 5);
  EXPECT_EQ(file.ReadInteger("S", "min", 0), INT32_MIN);
  EXPECT_EQ(file.ReadInteger("S", "word", 5), 5);
  EXPECT_EQ(file.ReadInteger("S", "half", 5), 5);
  EXPECT_EQ(file.ReadInteger("S", "empty", 5), 5);
  EXPECT_EQ(file.ReadInteger("S", "bare", 5), 5);
  EXPECT_EQ(file.ReadInteger("S", "all", 5), -1);
  EXPECT_EQ(file.ReadInteger("S", "plus", 5), 7);
}

TEST(ProfileFile, BooleansAreIntegers) {
  const ProfileFile file =
      ProfileFile::Parse("[S]\r\none=1\r\nzero=0\r\nother=-3\r\nhex=$10\r\nword=yes\r\n");
  EXPECT_TRUE(file.ReadBool("S", "one", false));
  EXPECT_FALSE(file.ReadBool("S", "zero", true));
  EXPECT_TRUE(file.ReadBool("S", "other", false));
  EXPECT_TRUE(file.ReadBool("S", "hex", false));
  EXPECT_FALSE(file.ReadBool("S", "word", false));
  EXPECT_TRUE(file.ReadBool("S", "word", true));
}

TEST(ProfileFile, ValuesReadBackThrough2047Characters) {
  ProfileFile file;
  const std::string long_value(3000, 'p');
  file.WriteString("Global", "q3a_start_param", long_value);
  const ProfileFile reread = ProfileFile::Parse(file.Serialize());
  EXPECT_EQ(reread.ReadString("Global", "q3a_start_param", ""), long_value.substr(0, 2047));
}

TEST(ProfileFile, NewSectionsFollowWriteOrderAndUnknownLinesSurvive) {
  ProfileFile file = ProfileFile::Parse(
      "; written by hand\r\n"
      "[Global]\r\n"
      "q3a_dir=old\r\n"
      "future_key=kept\r\n"
      "not a key line\r\n"
      "\r\n"
      "[Plugins]\r\n"
      "Name=Something\r\n");
  file.WriteString("Global", "q3a_dir", "new");
  file.WriteBool("Global", "no_hints", true);
  file.WriteInteger("Sound", "vol_menus", -100);
  EXPECT_EQ(file.Serialize(),
            "; written by hand\r\n"
            "[Global]\r\n"
            "q3a_dir=new\r\n"
            "future_key=kept\r\n"
            "not a key line\r\n"
            "no_hints=1\r\n"
            "\r\n"
            "[Plugins]\r\n"
            "Name=Something\r\n"
            "[Sound]\r\n"
            "vol_menus=-100\r\n");
}

TEST(ProfileFile, LineBreaksInAValueCannotAddKeys) {
  ProfileFile file;
  file.WriteString("Global", "q3a_start_param", "+set a 1\r\nq3a_dir=evil");
  const ProfileFile reread = ProfileFile::Parse(file.Serialize());
  EXPECT_EQ(reread.ReadString("Global", "q3a_dir", "none"), "none");
  EXPECT_EQ(reread.ReadString("Global", "q3a_start_param", ""), "+set a 1  q3a_dir=evil");
}

TEST(ProfileFile, FirstOfDuplicateSectionsAndKeysWins) {
  ProfileFile file = ProfileFile::Parse("[A]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\nj=4\r\n");
  EXPECT_EQ(file.ReadInteger("A", "k", 0), 1);
  EXPECT_EQ(file.ReadInteger("A", "j", 0), 0);
  file.WriteInteger("a", "k", 9);
  EXPECT_EQ(file.Serialize(), "[A]\r\nk=9\r\nk=2\r\n[a]\r\nk=3\r\nj=4\r\n");
}

TEST(ProfileFile, GarbageNulBytesAndAHugeLineLeaveGoodKeysReadable) {
  std::string bytes = "\x01\x02garbage before any section\r\n[Global\r\n=no key\r\n";
  bytes += std::string("nul\0key=1\r\n", 11);
  bytes += "q3a_dir=C:\\Quake";
  bytes += std::string("\0tail", 5);
  bytes += "\r\n";
  bytes += std::string(100u << 20, 'x');  // 100 MB without a line break
  bytes += "\r\n[Demos]\r\n\r\r\nloop_demos=1\r\n]]]][[[\r\n[Sound]\r\nvol_menus=$7fffffff";
  const ProfileFile file = ProfileFile::Parse(bytes);
  EXPECT_EQ(file.ReadString("Global", "q3a_dir", ""), "C:\\Quake");
  EXPECT_TRUE(file.ReadBool("Demos", "loop_demos", false));
  EXPECT_EQ(file.ReadInteger("Sound", "vol_menus", 0), 2147483647);
  EXPECT_EQ(file.ReadString("Global", "", "none"), "none");
}

TEST(ProfileFile, MissingFileIsEmptyAndAFailedWriteKeepsTheOldFile) {
  test::TempDir dir;
  FakeFileSystem fs;
  const std::string path = dir.Join("Reelwright.cfg");
  std::optional<ProfileFile> file = LoadProfileFile(fs, path);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Serialize(), "");
  file->WriteInteger("Global", "toolbar_dockpos", 2);
  ASSERT_TRUE(SaveProfileFile(fs, path, *file));
  EXPECT_EQ(test::ReadBytes(path), "[Global]\r\ntoolbar_dockpos=2\r\n");

  fs.failWrites.push_back(path);
  file->WriteInteger("Global", "toolbar_dockpos", 3);
  EXPECT_FALSE(SaveProfileFile(fs, path, *file));
  EXPECT_EQ(test::ReadBytes(path), "[Global]\r\ntoolbar_dockpos=2\r\n");
}

}  // namespace
}  // namespace rw
