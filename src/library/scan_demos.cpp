#include "library/scan_demos.h"

#include <cmath>
#include <optional>

#include "archive/member_path.h"
#include "demo/demo_generation.h"
#include "host/path_separator.h"
#include "host/path_text.h"
#include "library/note_file_names.h"
#include "library/parse_cache.h"
#include "library/scan_workers.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

// The estimate of play time from a demo's size alone.
constexpr double kSecondsPerByte = 0.00074;

// Where the entry points: the folder D, how to list it, and the member mask M.
struct EntryParts {
  std::string folder;      // D, no trailing separator
  std::string pathPrefix;  // D and a separator, empty for a bare name
  std::string listFolder;
  std::string pattern;
  std::string mask = "*.dm*";
};

EntryParts SplitEntry(const ScanEntry& entry) {
  EntryParts parts;
  const std::string path =
      entry.kind == ScanEntry::Kind::kFolder ? JoinPath(entry.path, "*.*") : entry.path;
  if (entry.kind == ScanEntry::Kind::kArchiveMembers) parts.mask = entry.memberName;
  const size_t separator = path.rfind(kPathSeparator);
  if (separator == std::string::npos) {
    parts.listFolder = ".";
    parts.pattern = path;
    return parts;
  }
  parts.folder = path.substr(0, separator);
  parts.pathPrefix = parts.folder + kPathSeparator;
  parts.listFolder = parts.folder.empty() ? std::string(1, kPathSeparator) : parts.folder;
  parts.pattern = path.substr(separator + 1);
  return parts;
}

std::string LowerExtension(std::string_view name) {
  const size_t dot = name.rfind('.');
  const size_t folder = name.find_last_of("\\:");
  if (dot == std::string_view::npos || (folder != std::string_view::npos && dot < folder)) {
    return {};
  }
  return AnsiLowerText(name.substr(dot));
}

uint64_t EstimatedSeconds(uint64_t bytes) {
  return static_cast<uint64_t>(std::nearbyint(static_cast<double>(bytes) * kSecondsPerByte));
}

// One demo found by the walk: a plain file, or an archive member.
struct FoundDemo {
  std::string name;          // cache field 1
  uint64_t size = 0;         // field 2
  uint32_t dosTime = 0;      // field 3
  std::string archiveField;  // field 4
  std::string readPath;      // what the reader gets: the file, or the member inside archive
  std::string archive;       // empty for a plain file
  std::string shownPath;     // the path in the status bar
  std::string location;      // the "Location" column
};

// Raised for the scan's whole run, lowered however it ends.
class BusyScope {
 public:
  explicit BusyScope(AppState& state) : state_(state) { state_.RaiseBusy(); }
  ~BusyScope() { state_.LowerBusy(); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  AppState& state_;
};

class FolderScan {
 public:
  // A scan of a whole folder, or of entries sharing a memo, looks up many demos: it pays for
  // a hash of the cache's keys and a listing of the user-data folder once.
  FolderScan(ScanContext& context, const EntryParts& parts, RowSink& target, ScanMemo* memo,
             bool wholeFolder)
      : collect_(wholeFolder && context.listings != nullptr),
        c_(context),
        parts_(parts),
        target_(target),
        memo_(memo),
        ownOld_(memo != nullptr ? OldParseCache() : LoadParseCache(c_.files, CachePath())),
        old_(memo != nullptr ? &memo->Cache(c_.files, CachePath()) : &ownOld_),
        ownNoteNames_(c_.userDataFolder),
        new_(context.locale) {
    if (memo != nullptr) {
      finder_ = &memo->Finder(c_.files, CachePath(), c_.locale);
      noteNames_ = &memo->NoteNames(c_.userDataFolder);
    } else if (wholeFolder) {
      finder_ = &ownFinder_.emplace(ownOld_.lines, c_.locale);
      noteNames_ = &ownNoteNames_;
    }
  }

  void Run() {
    const std::vector<DirectoryEntry> entries =
        memo_ != nullptr ? memo_->Entries(c_.files, parts_.listFolder, parts_.pattern)
                         : c_.files.List(parts_.listFolder, parts_.pattern);
    progress_.entriesFound = entries.size();
    // Mostly one row an entry; archives may add more.
    target_.Reserve(target_.RowCount() + entries.size());
    c_.status.ShowProgress(progress_);
    // Every demo is found and looked up first, so that those to read can be read side by side.
    std::vector<std::vector<PlannedDemo>> planned;
    planned.reserve(entries.size());
    std::vector<DemoToRead> toRead;
    for (const DirectoryEntry& entry : entries) planned.push_back(PlanEntry(entry, toRead));
    // One demo to read is read here, as are all with one job.
    std::optional<ScanWorkers> workers;
    if (c_.jobs > 1 && toRead.size() > 1) workers.emplace(c_.sources, std::move(toRead), c_.jobs);
    ScanWorkers* readers = workers && workers->running() ? &*workers : nullptr;
    for (size_t i = 0; i < entries.size(); ++i) {
      for (const PlannedDemo& demo : planned[i]) {
        if (!ListDemo(demo, readers)) return;
        if (demo.inArchive && c_.state.escapeFlag()) break;
      }
      ++progress_.entriesDone;
      progress_.parsing.clear();
      c_.status.ShowProgress(progress_);
      if (c_.state.escapeFlag()) break;
    }
  }

  std::string CachePath() const { return parts_.pathPrefix + std::string(kParseCacheName); }
  NewParseCache& newCache() { return new_; }
  const std::string& oldText() const { return old_->text; }
  size_t hits() const { return hits_; }
  uint64_t totalBytes() const { return totalBytes_; }
  uint64_t totalSeconds() const { return totalSeconds_; }
  const std::vector<IndexedDemo>& listed() const { return listed_; }

 private:
  // A demo found, and where its cache line comes from: a line of the old cache, or a read.
  struct PlannedDemo {
    FoundDemo found;
    bool inArchive = false;
    std::optional<size_t> cached;
    size_t readIndex = 0;  // among the demos to read
  };

  std::vector<PlannedDemo> PlanEntry(const DirectoryEntry& entry, std::vector<DemoToRead>& toRead) {
    std::vector<PlannedDemo> demos;
    if (entry.name.empty() || entry.name[0] == '.') return demos;
    const std::string extension = LowerExtension(entry.name);
    const std::string path = parts_.pathPrefix + entry.name;
    if (IsDemoExtension(extension)) {
      // A folder never holds a demo's bytes, whatever its name.
      if (entry.isFolder) return demos;
      Plan({entry.name, entry.size, entry.dosTime, "", path, "", path, parts_.folder}, false, demos,
           toRead);
    } else if (extension == ".zip" || extension == ".pk3" ||
               (extension == ".exe" && c_.sources.IsArchiveFile(path))) {
      ScanMember member;
      int code = c_.sources.ArchiveFindFirst(path, "*\\" + parts_.mask, member);
      while (code == 0) {
        const MemberPath split = SplitMemberPath(member.path);
        Plan({split.name, member.size, member.dosTime, entry.name + "\\" + split.folder,
              member.path, path, path + "\\" + member.path, path},
             true, demos, toRead);
        code = c_.sources.ArchiveFindNext(parts_.mask, member);
      }
      c_.sources.ArchiveClose();
    }
    return demos;
  }

  void Plan(FoundDemo found, bool inArchive, std::vector<PlannedDemo>& demos,
            std::vector<DemoToRead>& toRead) {
    PlannedDemo demo{std::move(found), inArchive, std::nullopt, 0};
    demo.cached = FindFreshLine(
        LookupKey(demo.found.name, demo.found.size, demo.found.dosTime, demo.found.archiveField));
    if (!demo.cached) {
      demo.readIndex = toRead.size();
      toRead.push_back({demo.found.readPath, demo.found.archive});
    }
    demos.push_back(std::move(demo));
  }

  std::optional<size_t> FindFreshLine(const std::string& key) const {
    const std::optional<size_t> found =
        finder_ != nullptr ? finder_->Find(key) : FindCachedLine(old_->lines, key, c_.locale);
    if (found && IsStaleCacheLine(old_->lines[*found])) return std::nullopt;
    return found;
  }

  // The demo's read from a worker, or read here; nullopt when Escape stopped the wait.
  std::optional<DemoRead> Read(const PlannedDemo& demo, ScanWorkers* workers) {
    if (workers == nullptr) {
      DemoRead read;
      read.summary = c_.sources.ReadDemo(demo.found.readPath, demo.found.archive);
      if (collect_) read.players = c_.sources.PlayersOfLastRead();
      return read;
    }
    std::optional<DemoRead> read = workers->Take(demo.readIndex, [this] {
      c_.status.ShowProgress(progress_);
      return !c_.state.escapeFlag();
    });
    if (!read) return std::nullopt;
    c_.sources.Settle(*read);
    if (!collect_) read->players.reset();
    return read;
  }

  // Appends the demo's row and cache line; false when Escape stopped the wait for its read.
  bool ListDemo(const PlannedDemo& planned, ScanWorkers* workers) {
    const FoundDemo& demo = planned.found;
    totalSeconds_ += EstimatedSeconds(demo.size);
    totalBytes_ += demo.size;
    std::string line;
    std::optional<std::string> players;
    if (planned.cached) {
      line = old_->lines[*planned.cached];
      ++hits_;
    } else {
      c_.status.ShowParsing(ParsingText(demo.shownPath));
      progress_.parsing = demo.shownPath;
      c_.status.ShowProgress(progress_);
      std::optional<DemoRead> read = Read(planned, workers);
      if (!read) return false;
      const ListRow& summary = read->summary;
      players = std::move(read->players);
      CacheFields fields;
      fields[0] = demo.name;
      fields[1] = std::to_string(demo.size);
      fields[2] = DosTimeField(demo.dosTime);
      fields[3] = demo.archiveField;
      for (size_t i = 4; i < kCacheFieldCount; ++i) fields[i] = summary[i];
      line = BuildCacheLine(fields);
    }
    const std::string noteName = line.substr(0, line.find(kCacheSeparator)) + ".description";
    const UserInfo notes =
        noteNames_ != nullptr && noteNames_->Lacks(c_.files, noteName)
            ? UserInfo()
            : c_.sources.GetUserInfo(c_.userDataFolder + kPathSeparator + noteName);
    target_.Append(RowFromCacheLine(line, demo.location, notes, c_.locale));
    if (collect_) listed_.push_back({line, demo.location, notes, std::move(players)});
    if (planned.cached && finder_ != nullptr && finder_->strictlyOrdered()) {
      new_.Add(std::move(line), *planned.cached);
    } else {
      new_.Add(std::move(line));
    }
    return true;
  }

  // Whether the demos go to the listing sink too.
  bool collect_;
  ScanContext& c_;
  const EntryParts& parts_;
  RowSink& target_;
  ScanMemo* memo_;
  OldParseCache ownOld_;
  const OldParseCache* old_;
  std::optional<CachedLineFinder> ownFinder_;
  const CachedLineFinder* finder_ = nullptr;
  NoteFileNames ownNoteNames_;
  NoteFileNames* noteNames_ = nullptr;
  NewParseCache new_;
  ScanProgress progress_;
  std::vector<IndexedDemo> listed_;
  size_t hits_ = 0;
  uint64_t totalBytes_ = 0;
  uint64_t totalSeconds_ = 0;
};

uint64_t Scan(const ScanEntry& entry, ScanContext& context, ScanMemo* memo) {
  BusyScope busy(context.state);
  context.status.Started();
  context.state.ClearEscape();
  const bool toDemoList = entry.kind == ScanEntry::Kind::kFolder;
  RowSink& target = toDemoList ? context.demoList : context.playList;
  if (toDemoList) target.Clear();

  const EntryParts parts = SplitEntry(entry);
  FolderScan scan(context, parts, target, memo, toDemoList);
  const uint32_t started = context.clock.TickCount();
  scan.Run();
  const uint32_t elapsed = context.clock.TickCount() - started;

  if (toDemoList) {
    target.Resort();
    const size_t rows = target.RowCount();
    const double percent = rows > 0 ? static_cast<double>(scan.hits()) / rows * 100 : 0;
    const bool complete = !context.state.escapeFlag();
    context.status.MarkFolder(rows > 0);
    if (rows > 0 && complete) {
      WriteParseCache(context.files, scan.CachePath(), scan.newCache(), scan.oldText());
    } else if (complete && context.files.Exists(scan.CachePath())) {
      context.files.DeleteFile(scan.CachePath());
    }
    if (complete && context.listings != nullptr) {
      context.listings->FolderListed(parts.folder, scan.listed());
    }
    context.status.ShowSummary(ScanSummaryText(rows, elapsed, percent, scan.totalBytes(),
                                               scan.totalSeconds(), context.locale));
  }
  context.status.Finished();
  return scan.totalSeconds();
}

}  // namespace

uint64_t ScanDemos(const ScanEntry& entry, ScanContext& context) {
  return Scan(entry, context, nullptr);
}

uint64_t ScanDemos(const ScanEntry& entry, ScanContext& context, ScanMemo& memo) {
  return Scan(entry, context, &memo);
}

}  // namespace rw
