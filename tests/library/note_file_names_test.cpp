#include "library/note_file_names.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/fake/fake_host.h"
#include "support/test_files.h"

namespace rw {
namespace {

// Only a name the folder surely lacks skips the look-up; anything listed, even a link to
// nowhere, is left to the look-up to decide.
TEST(NoteFileNames, SkipsOnlyNamesTheListedFolderLacks) {
  test::TempDir dir;
  FakeFileSystem files;
  test::WriteBytes(dir.Join("a.dm3.description"), "pov\r\n");
  std::filesystem::create_symlink(dir.Join("nowhere"), dir.Join("b.dm3.description"));
  NoteFileNames names(dir.path());
  EXPECT_FALSE(names.Lacks(files, "a.dm3.description"));
  EXPECT_FALSE(names.Lacks(files, "b.dm3.description"));
  EXPECT_TRUE(names.Lacks(files, "A.DM3.description"));
  EXPECT_TRUE(names.Lacks(files, "c.dm3.description"));
  EXPECT_FALSE(names.Lacks(files, "sub/c.dm3.description"));
  EXPECT_FALSE(names.Lacks(files, "../a.dm3.description"));
  // The folder is listed once, for one scan.
  test::WriteBytes(dir.Join("c.dm3.description"), "pov\r\n");
  EXPECT_TRUE(names.Lacks(files, "c.dm3.description"));
  EXPECT_FALSE(NoteFileNames(dir.path()).Lacks(files, "c.dm3.description"));
}

TEST(NoteFileNames, AFolderThatCannotBeListedSkipsNothing) {
  test::TempDir dir;
  FakeFileSystem files;
  EXPECT_FALSE(NoteFileNames(dir.Join("missing")).Lacks(files, "a.dm3.description"));
  EXPECT_FALSE(NoteFileNames("").Lacks(files, "a.dm3.description"));
}

}  // namespace
}  // namespace rw
