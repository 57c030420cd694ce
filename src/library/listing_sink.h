#pragma once

#include <optional>
#include <string>
#include <vector>

#include "demo/user_info.h"

namespace rw {

// One demo of a complete folder listing, as the scan found or read it.
struct IndexedDemo {
  std::string line;      // its parse cache line
  std::string location;  // "Location"
  UserInfo notes;        // as the row shows them
  // The players' names (colour codes removed, one a line) when the scan read the demo; a demo
  // taken from the cache has none.
  std::optional<std::string> players;
};

// Where a folder listing that ran to its end hands its demos besides the demo list: the
// library index. Called once per listing, on the thread that applies the scan's results.
class ListingSink {
 public:
  virtual ~ListingSink() = default;
  virtual void FolderListed(const std::string& folder, const std::vector<IndexedDemo>& demos) = 0;
};

}  // namespace rw
