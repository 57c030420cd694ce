#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <regex>

#include "host/posix/freedesktop_trash.h"
#include "support/test_files.h"

namespace rw {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

namespace fs = std::filesystem;

bool IsPrivateFolder(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         (info.st_mode & 0777) == 0700;
}

// The home trash on the file system it lies on, as the freedesktop.org trash specification
// describes it: files/NAME, info/NAME.trashinfo with the origin URL-escaped (RFC 3986) and the
// deletion time, and a free name when the first is taken.
TEST(FreedesktopTrash, TheHomeTrashKeepsFileAndOrigin) {
  TempDir dir;
  const std::string trash = dir.Join("data/Trash");
  const FreedesktopTrash home(trash, false, ::getuid());
  fs::create_directories(dir.Join("demos/cup 2004"));
  const std::string first = dir.Join("demos/cup 2004/final \xc3\xa4.dm3");
  const std::string second = dir.Join("demos/final \xc3\xa4.dm3");
  WriteBytes(first, "first");
  WriteBytes(second, "second");

  ASSERT_TRUE(home.FolderFor(dir.Join("demos")).has_value());
  EXPECT_TRUE(IsPrivateFolder(trash + "/files"));
  EXPECT_TRUE(IsPrivateFolder(trash + "/info"));
  ASSERT_TRUE(home.Move(first).ok());
  ASSERT_TRUE(home.Move(second).ok());
  EXPECT_FALSE(fs::exists(first));
  EXPECT_FALSE(fs::exists(second));
  EXPECT_EQ(ReadBytes(trash + "/files/final \xc3\xa4.dm3"), "first");
  EXPECT_EQ(ReadBytes(trash + "/files/final \xc3\xa4.2.dm3"), "second");

  const std::string info = ReadBytes(trash + "/info/final \xc3\xa4.dm3.trashinfo");
  const std::regex form(
      "\\[Trash Info\\]\nPath=(.*)\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n");
  std::smatch match;
  ASSERT_TRUE(std::regex_match(info, match, form)) << info;
  EXPECT_EQ(match[1].str(), dir.Join("demos/cup%202004/final%20%C3%A4.dm3"));
  const std::string secondInfo = ReadBytes(trash + "/info/final \xc3\xa4.2.dm3.trashinfo");
  ASSERT_TRUE(std::regex_match(secondInfo, match, form)) << secondInfo;
  EXPECT_EQ(match[1].str(), dir.Join("demos/final%20%C3%A4.dm3"));

  // Nothing to move: nothing changes.
  EXPECT_EQ(home.Move(second).kind, FileResult::kNotFound);
  EXPECT_EQ(std::distance(fs::directory_iterator(trash + "/info"), {}), 2);
}

TEST(FreedesktopTrash, WithoutATrashNothingMoves) {
  TempDir dir;
  WriteBytes(dir.Join("a.dm3"), "a");
  const FreedesktopTrash none = FreedesktopTrash::None();
  EXPECT_FALSE(none.FolderFor(dir.path()).has_value());
  EXPECT_EQ(none.Move(dir.Join("a.dm3")).kind, FileResult::kNoTrash);
  EXPECT_TRUE(fs::exists(dir.Join("a.dm3")));
}

// Other mounts: $topdir/.Trash/$uid when the administrator made a sticky .Trash, else
// $topdir/.Trash-$uid; a .Trash that is not sticky, or is a link, is passed over.
TEST(FreedesktopTrash, ATopDirectoryTrashIsMadeOnlyWhereItIsSafe) {
  const FreedesktopTrash trash({}, true, ::getuid());
  const std::string uid = std::to_string(::getuid());

  TempDir plain;
  std::optional<TrashFolder> folder = trash.TopDirectoryTrash(plain.path());
  ASSERT_TRUE(folder.has_value());
  EXPECT_EQ(folder->path, plain.Join(".Trash-" + uid));
  EXPECT_EQ(folder->topDirectory, plain.path());
  EXPECT_TRUE(IsPrivateFolder(folder->path + "/files"));

  TempDir shared;
  fs::create_directory(shared.Join(".Trash"));
  fs::permissions(shared.Join(".Trash"), fs::perms::all | fs::perms::sticky_bit);
  folder = trash.TopDirectoryTrash(shared.path());
  ASSERT_TRUE(folder.has_value());
  EXPECT_EQ(folder->path, shared.Join(".Trash/" + uid));
  EXPECT_TRUE(IsPrivateFolder(folder->path));

  TempDir notSticky;
  fs::create_directory(notSticky.Join(".Trash"));
  folder = trash.TopDirectoryTrash(notSticky.path());
  ASSERT_TRUE(folder.has_value());
  EXPECT_EQ(folder->path, notSticky.Join(".Trash-" + uid));
  EXPECT_FALSE(fs::exists(notSticky.Join(".Trash/" + uid)));

  TempDir linked;
  fs::create_directory_symlink(shared.Join(".Trash"), linked.Join(".Trash"));
  folder = trash.TopDirectoryTrash(linked.path());
  ASSERT_TRUE(folder.has_value());
  EXPECT_EQ(folder->path, linked.Join(".Trash-" + uid));

  // A .Trash-$uid that is a link someone planted is no trash at all.
  TempDir planted;
  fs::create_directory_symlink(plain.Join(".Trash-" + uid), planted.Join(".Trash-" + uid));
  EXPECT_FALSE(trash.TopDirectoryTrash(planted.path()).has_value());
}

}  // namespace
}  // namespace rw
