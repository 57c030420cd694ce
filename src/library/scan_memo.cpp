#include "library/scan_memo.h"

#include "text/name_text.h"

namespace rw {

std::vector<DirectoryEntry> ScanMemo::Entries(FileSystem& files, const std::string& folder,
                                              std::string_view pattern) {
  auto [place, added] = listings_.try_emplace(folder);
  Listing& listing = place->second;
  if (added) {
    listing.entries = files.List(folder, "*.*");
    for (size_t index = 0; index < listing.entries.size(); ++index) {
      listing.byLowerName[NameLowerText(listing.entries[index].name)].push_back(index);
    }
  }
  std::vector<DirectoryEntry> matching;
  // A name without wildcards matches only itself, case ignored: no need to walk them all.
  if (pattern.find_first_of("*?") == std::string_view::npos) {
    const auto found = listing.byLowerName.find(NameLowerText(pattern));
    if (found == listing.byLowerName.end()) return matching;
    for (const size_t index : found->second) matching.push_back(listing.entries[index]);
    return matching;
  }
  for (const DirectoryEntry& entry : listing.entries) {
    if (MatchesWildcard(entry.name, pattern)) matching.push_back(entry);
  }
  return matching;
}

const OldParseCache& ScanMemo::Cache(FileSystem& files, const std::string& path) {
  auto [place, added] = caches_.try_emplace(path);
  if (added) place->second = LoadParseCache(files, path);
  return place->second;
}

const CachedLineFinder& ScanMemo::Finder(FileSystem& files, const std::string& path,
                                         const Locale& locale) {
  const auto found = finders_.find(path);
  if (found != finders_.end()) return found->second;
  return finders_.try_emplace(path, Cache(files, path).lines, locale).first->second;
}

NoteFileNames& ScanMemo::NoteNames(const std::string& userDataFolder) {
  return noteNames_.try_emplace(userDataFolder, userDataFolder).first->second;
}

}  // namespace rw
