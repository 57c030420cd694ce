#pragma once

#include <string>

#include "host/file_system.h"

namespace rw {

// Whether the folder itself (not its sub-folders) holds a demo file (".dm3", or ".dm_" and a
// protocol number), or an archive with such a member at any depth.
bool FolderHasDemos(FileSystem& files, const std::string& path);

}  // namespace rw
