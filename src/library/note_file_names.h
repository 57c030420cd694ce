#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "host/file_system.h"

namespace rw {

// The names in the user-data folder, listed once for the many demos of a scan: most demos
// have no notes, and a name the listing lacks needs no look-up of its own.
class NoteFileNames {
 public:
  explicit NoteFileNames(std::string folder) : folder_(std::move(folder)) {}

  // True when the folder, listed on first use, has no entry of that name; false when it has,
  // when the name holds a separator, or when the folder cannot be listed.
  bool Lacks(FileSystem& files, std::string_view name);

 private:
  std::string folder_;
  bool listed_ = false;
  std::optional<std::unordered_set<std::string>> names_;
};

}  // namespace rw
