#include "host/path_text.h"
#include "library/parse_cache.h"
#include "library/player_names.h"
#include "library/scan_demos.h"
#include "model/demo_file_commands.h"
#include "session/session.h"

namespace rw {
namespace {

// Folders listed by a relative path reach the index by their full path, as the tree and Find
// Demos name them.
class AbsoluteListings : public ListingSink {
 public:
  explicit AbsoluteListings(LibraryIndex& index) : index_(index) {}

  void FolderListed(const std::string& folder, const std::vector<IndexedDemo>& demos) override {
    const std::string absolute = AbsoluteFolder(folder);
    if (absolute == folder) return index_.FolderListed(folder, demos);
    std::vector<IndexedDemo> moved = demos;
    for (IndexedDemo& demo : moved) {
      if (demo.location.starts_with(folder)) {
        demo.location = absolute + demo.location.substr(folder.size());
      }
    }
    index_.FolderListed(absolute, moved);
  }

 private:
  LibraryIndex& index_;
};

// The scans of many folders as one piece of work: the folders done of all, and the demo read.
class FoldersStatus : public ScanStatus {
 public:
  FoldersStatus(ScanStatus& status, size_t folders) : status_(status) {
    progress_.entriesFound = folders;
  }

  void NextFolder(const std::string& folder) {
    progress_.parsing = folder;
    status_.ShowProgress(progress_);
  }
  void FolderDone() { ++progress_.entriesDone; }
  void ShowParsing(const std::string& text) override { status_.ShowParsing(text); }
  void ShowProgress(const ScanProgress& progress) override {
    if (!progress.parsing.empty()) progress_.parsing = progress.parsing;
    status_.ShowProgress(progress_);
  }
  void MarkFolder(bool) override {}
  void ShowSummary(const std::string&) override {}

 private:
  ScanStatus& status_;
  ScanProgress progress_;
};

}  // namespace

LibraryIndex* Session::index() {
  if (!withIndex_) return nullptr;
  if (!indexOpened_) {
    indexOpened_ = true;
    index_ = std::make_unique<LibraryIndex>(
        JoinPath(paths_.dataFolder, "Library.sqlite"),
        LibraryIndex::Context{*files_, frontEnd_.messages, frontEnd_.locale,
                              paths_.userDataFolder});
    listings_ = std::make_unique<AbsoluteListings>(*index_);
  }
  return index_->usable() ? index_.get() : nullptr;
}

std::string Session::IndexFolderOf(const ListRow& row) const {
  const DemoLocation location = LocationOfRow(row);
  return AbsoluteFolder(FolderOfLocation(location));
}

std::string Session::ListedFolder() const {
  const RowList& rows = demoList_.rows().empty() ? demoList_.hidden() : demoList_.rows();
  return rows.empty() ? std::string() : IndexFolderOf(rows.front().columns);
}

void Session::NotesChanged(const std::string& demoName) {
  LibraryIndex* library = index();
  if (library == nullptr) return;
  const std::string path = NotesPath(demoName);
  const std::optional<UserData> notes =
      files_->Exists(path) ? ReadUserData(*files_, path) : std::optional<UserData>(UserData{});
  if (notes) library->NotesSaved(demoName, *notes);
}

std::optional<QueryError> Session::FilterDemoList(const std::string& text) {
  if (std::optional<QueryError> error = filter_.SetText(text)) return error;
  RefilterDemoList();
  return std::nullopt;
}

bool Session::RefilterDemoList() {
  if (!filter_.active()) return demoList_.filtered() && demoList_.SetFilter({});
  // What the index knows of the listed folder, read again once it changed.
  LibraryIndex* library = index();
  const std::string folder = ListedFolder();
  const uint64_t generation = library != nullptr ? library->generation() : 0;
  if (generation != filterGeneration_ || folder != filterFolder_) {
    filter_.SetExtras(library != nullptr ? library->ExtrasOf(folder)
                                         : std::unordered_map<std::string, RowExtras>());
    filterGeneration_ = generation;
    filterFolder_ = folder;
  }
  return demoList_.SetFilter([this](const ListRow& row) { return filter_.Shows(row); });
}

std::vector<std::string> Session::TreeFolders() const {
  std::vector<std::string> folders;
  for (const FolderNode* node : tree_.FlatOrder()) folders.push_back(NodePath(*node));
  return folders;
}

bool Session::IndexFolders(const std::vector<std::string>& folders, bool uncachedToo,
                           ScanStatus& status) {
  LibraryIndex* library = index();
  if (library == nullptr) return true;
  const std::set<std::string> indexed = library->IndexedFolders();
  std::vector<std::string> missing;
  for (const std::string& folder : folders) {
    const std::string absolute = AbsoluteFolder(folder);
    if (!indexed.contains(absolute) ||
        (uncachedToo && !files_->Exists(JoinPath(absolute, std::string(kParseCacheName))))) {
      missing.push_back(absolute);
    }
  }
  if (missing.empty()) return true;
  appState_.RaiseBusy();
  status.Started();
  FoldersStatus folderStatus(status, missing.size());
  bool complete = true;
  for (const std::string& folder : missing) {
    folderStatus.NextFolder(folder);
    if (files_->IsFolder(folder)) {
      // The rows of these listings are not shown.
      CountingRows dropped;
      ScanContext context = ContextFor(folderStatus, dropped, dropped);
      ScanDemos(ScanEntry::Folder(folder), context);
    }
    folderStatus.FolderDone();
    // Each listing clears the escape flag as it starts; Escape during one stops them all.
    if (appState_.escapeFlag()) {
      complete = false;
      break;
    }
  }
  status.Finished();
  appState_.LowerBusy();
  return complete;
}

FoundRows Session::FindDemos(const DemoQuery& query, const std::vector<std::string>& folders,
                             size_t limit) {
  LibraryIndex* library = index();
  if (library == nullptr) return {};
  std::vector<std::string> absolute;
  for (const std::string& folder : folders) absolute.push_back(AbsoluteFolder(folder));
  FoundRows found = library->Find(query, absolute, limit);
  SortedRows sorted(frontEnd_.locale, settings_.demoList.columns.sortColumn,
                    settings_.demoList.columns.sortAscending);
  for (ListRow& row : found.rows) sorted.Append(std::move(row));
  sorted.Resort();
  found.rows.clear();
  for (ListItem& item : sorted.rows()) found.rows.push_back(std::move(item.columns));
  return found;
}

size_t Session::ReadMissingPlayers(size_t count) {
  LibraryIndex* library = index();
  if (library == nullptr || count == 0) return 0;
  const std::vector<DemoLackingPlayers> demos =
      library->DemosWithoutPlayers(count, ListedFolder(), true);
  ReadPlayers(demos);
  return demos.size();
}

void Session::ReadMissingPlayersIn(const std::vector<std::string>& folders) {
  LibraryIndex* library = index();
  if (library == nullptr) return;
  for (const std::string& folder : folders) {
    while (true) {
      const std::vector<DemoLackingPlayers> demos =
          library->DemosWithoutPlayers(100, AbsoluteFolder(folder), false);
      // A write the index could not make would bring the same demos back.
      if (demos.empty() || !ReadPlayers(demos)) break;
    }
  }
}

bool Session::ReadPlayers(const std::vector<DemoLackingPlayers>& demos) {
  if (demos.empty()) return false;
  if (!playerReader_) {
    playerReader_ = std::make_unique<DemoReader>(silent_, frontEnd_.locale, *files_);
  }
  std::vector<std::pair<int64_t, std::string>> players;
  for (const DemoLackingPlayers& demo : demos) {
    playerReader_->GetFromDemo(demo.path, demo.archive, false);
    players.emplace_back(demo.id, PlayerNames(playerReader_->State()));
  }
  return index()->SetPlayers(players);
}

}  // namespace rw
