#pragma once

#include <string>

#include "host/file_system.h"
#include "host/messages.h"

namespace rw {

// The user's four notes on a demo as the lists show them, in UTF-8 as typed.
struct UserInfo {
  std::string POV;
  std::string Rating;
  std::string Web;
  std::string Description;  // its first line only
};

// Reads a user data file; a missing file gives four empty values, an unreadable one is
// reported ("RWT Load File Error") and gives what could be read, which is nothing.
UserInfo GetUserInfo(FileSystem& files, const std::string& path, Messages& messages);

}  // namespace rw
