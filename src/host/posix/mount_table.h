#pragma once

#include <string>
#include <string_view>

namespace rw {

// The mount point of the file system that holds resolvedPath (absolute, links resolved), from
// the text of /proc/self/mountinfo: the longest mount point that contains it. Empty when no
// line matches.
std::string MountPointIn(std::string_view mountInfo, std::string_view resolvedPath);

// The mount point of the file system that holds path, or its nearest existing ancestor. Empty
// when neither exists.
std::string MountPointOf(const std::string& path);

}  // namespace rw
