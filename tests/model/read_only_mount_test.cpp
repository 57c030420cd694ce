#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "host/locale.h"
#include "host/posix/posix_file_system.h"
#include "model/folder_tree.h"
#include "model/folder_tree_commands.h"
#include "support/test_files.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

constexpr int kNotPermitted = 77;

// Checks made in a child that has its own mount namespace; each failed check sets one bit.
int CheckReadOnlyMounts(const std::string& root) {
  if (::unshare(CLONE_NEWNS) != 0 && ::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
    return kNotPermitted;
  }
  // Nothing mounted here may reach the namespace of the test.
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return kNotPermitted;
  const std::string tmpfs = root + "/tmpfs";
  const std::string bind = root + "/bind";
  const std::string source = root + "/source";
  if (::mount("rwt", tmpfs.c_str(), "tmpfs", 0, nullptr) != 0) return kNotPermitted;
  if (::mkdir((tmpfs + "/demos").c_str(), 0755) != 0) return kNotPermitted;
  if (::mount(nullptr, tmpfs.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0 ||
      ::mount(source.c_str(), bind.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
      ::mount(nullptr, bind.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
    return kNotPermitted;
  }

  PosixFileSystem files;
  FixedLocale locale;
  FolderTree tree(locale);
  int failed = 0;
  const auto check = [&failed](int bit, bool ok) {
    if (!ok) failed |= 1 << bit;
  };
  check(0, files.DriveOf(tmpfs + "/demos") == tmpfs);
  // The bind mount shares the device of its source folder: only the mount table tells them
  // apart.
  check(1, files.DriveOf(bind + "/cup") == bind);
  for (const std::string& path : {tmpfs + "/demos", bind + "/cup"}) {
    FolderNode* node = tree.AddTopLevel(path, 0);
    const TreeMenuState state = TreeMenuStateFor(node, false, files);
    check(2, !state.newFolder && !state.removeFromDisk && !state.rename);
    check(3, !CanEditFolderName(*node, false, files));
    check(4, !CanDropDemosOnNode(node, tree, false, true, {0}, files));
  }
  FolderNode* writable = tree.AddTopLevel(source + "/cup", 0);
  check(5, TreeMenuStateFor(writable, false, files).newFolder);
  check(6, CanEditFolderName(*writable, false, files));
  return failed;
}

TEST(ReadOnlyMount, RefusesTheTreeDiskCommandsLikeACdRom) {
  test::TempDir dir;
  for (const char* folder : {"tmpfs", "bind", "source/cup"})
    fs::create_directories(dir.Join(folder));
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(CheckReadOnlyMounts(dir.path()));
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kNotPermitted) GTEST_SKIP() << "mounting is not permitted here";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "failed checks, one bit each";
}

}  // namespace
}  // namespace rw
