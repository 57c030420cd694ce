#pragma once

#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/file_system.h"
#include "library/note_file_names.h"
#include "library/parse_cache.h"

namespace rw {

// What scans of many entries of the same folders share, such as the lines of one play list:
// each folder is listed once and each parse cache loaded once. Keep it only while the
// folders cannot change.
class ScanMemo {
 public:
  // The entries of folder that match pattern, in the order FileSystem::List gives them.
  std::vector<DirectoryEntry> Entries(FileSystem& files, const std::string& folder,
                                      std::string_view pattern);
  const OldParseCache& Cache(FileSystem& files, const std::string& path);
  // The finder over the lines of Cache(files, path).
  const CachedLineFinder& Finder(FileSystem& files, const std::string& path, const Locale& locale);
  NoteFileNames& NoteNames(const std::string& userDataFolder);

 private:
  struct Listing {
    std::vector<DirectoryEntry> entries;
    std::unordered_map<std::string, std::vector<size_t>> byLowerName;
  };

  std::map<std::string, Listing> listings_;
  std::map<std::string, OldParseCache> caches_;
  std::map<std::string, CachedLineFinder> finders_;
  std::map<std::string, NoteFileNames> noteNames_;
};

}  // namespace rw
