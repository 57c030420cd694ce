#include "host/posix/mount_table.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

// Lines in the form proc(5) gives for /proc/PID/mountinfo: mount and parent ids, device, root
// inside the file system, mount point, options, optional fields, "-", type, source, options.
constexpr std::string_view kMountInfo =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "30 22 0:26 / /mnt/a rw,relatime shared:5 - tmpfs tmpfs rw\n"
    "31 22 0:27 / /mnt/ab ro,relatime - iso9660 /dev/sr0 ro\n"
    "32 22 8:1 /home/u/src /mnt/my\\040demos ro,relatime - ext4 /dev/sda1 rw\n"
    "broken line\n"
    "34 30 0:29 / /mnt/a/deep/er rw - tmpfs t rw";

TEST(MountTable, APathLiesOnTheLongestMountPointThatHoldsIt) {
  EXPECT_EQ(MountPointIn(kMountInfo, "/home/u"), "/");
  EXPECT_EQ(MountPointIn(kMountInfo, "/mnt/a"), "/mnt/a");
  EXPECT_EQ(MountPointIn(kMountInfo, "/mnt/a/deep"), "/mnt/a");
  EXPECT_EQ(MountPointIn(kMountInfo, "/mnt/a/deep/er/x"), "/mnt/a/deep/er");
  // Whole names only: /mnt/abc is not inside /mnt/ab.
  EXPECT_EQ(MountPointIn(kMountInfo, "/mnt/ab/x"), "/mnt/ab");
  EXPECT_EQ(MountPointIn(kMountInfo, "/mnt/abc"), "/");
  // Blanks in mount points are written as octal escapes.
  EXPECT_EQ(MountPointIn(kMountInfo, "/mnt/my demos/cup"), "/mnt/my demos");
  EXPECT_EQ(MountPointIn(kMountInfo, "/mnt/my\\040demos"), "/");
  EXPECT_EQ(MountPointIn("", "/x"), "");
  EXPECT_EQ(MountPointIn("1 2 3", "/x"), "");
}

TEST(MountTable, MountPointOfFindsTheNearestExistingAncestor) {
  EXPECT_EQ(MountPointOf("/"), "/");
  const std::string proc = MountPointOf("/proc/self");
  EXPECT_EQ(proc, "/proc");
  EXPECT_EQ(MountPointOf("/proc/no such folder/deeper"), "/proc");
  EXPECT_EQ(MountPointOf("relative name that does not exist"), "");
  EXPECT_EQ(MountPointOf(""), "");
}

}  // namespace
}  // namespace rw
