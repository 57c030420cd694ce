#pragma once

#include <string>

namespace rw::cli {

// What "scan" needs of the program's configuration.
struct ScanListingOptions {
  std::string folder;          // without a trailing separator
  std::string userDataFolder;  // where the demos' ".description" files are
  int sortColumn = 0;          // the demo list's recorded sort column and direction
  bool sortAscending = false;
  bool json = false;
};

// Lists the folder into the demo list (writing its parse cache) and prints the rows and the
// summary line; the exit code.
int ListFolder(const ScanListingOptions& options);

}  // namespace rw::cli
