#include "library/library_index.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <unordered_map>

#include "host/dos_time.h"
#include "host/path_text.h"
#include "library/demo_row.h"
#include "library/index_query.h"
#include "library/parse_cache.h"
#include "library/search_text.h"
#include "library/sqlite_database.h"

namespace rw {
namespace {

// Bumped whenever the tables change; an index of another version is made anew.
constexpr int kSchemaVersion = 1;
// Another copy of the program writes one folder at a time; waiting this long is enough.
constexpr int kBusyMs = 10000;

constexpr const char* kSchema = R"(
CREATE TABLE folders(
  path TEXT PRIMARY KEY,
  fingerprint INTEGER NOT NULL
) WITHOUT ROWID;
CREATE TABLE demos(
  id INTEGER PRIMARY KEY,
  folder TEXT NOT NULL,
  location TEXT NOT NULL,
  archive_folder TEXT NOT NULL,
  name TEXT NOT NULL,
  line TEXT NOT NULL,
  pov TEXT NOT NULL,
  rating_text TEXT NOT NULL,
  web TEXT NOT NULL,
  description TEXT NOT NULL,
  players TEXT,
  protocol INTEGER,
  rating INTEGER NOT NULL,
  seconds INTEGER NOT NULL,
  recorded INTEGER
);
CREATE INDEX demos_by_folder ON demos(folder);
CREATE INDEX demos_by_name ON demos(name);
CREATE INDEX demos_without_players ON demos(id) WHERE players IS NULL;
CREATE VIRTUAL TABLE words USING fts5(name, map, host, players, mod, winner, notes, type, place,
                                      tokenize = 'trigram case_sensitive 1');
)";

// Reads every column of every table, so that it prepares only on the tables of kSchema.
constexpr const char* kSchemaCheck =
    "SELECT f.path, f.fingerprint, d.id, d.folder, d.location, d.archive_folder, d.name, d.line, "
    "d.pov, d.rating_text, d.web, d.description, d.players, d.protocol, d.rating, d.seconds, "
    "d.recorded, w.name, w.map, w.host, w.players, w.mod, w.winner, w.notes, w.type, w.place "
    "FROM folders f, demos d, words w LIMIT 0";

std::string_view Field(std::string_view line, size_t index) {
  size_t start = 0;
  for (size_t i = 0; i < index; ++i) {
    const size_t separator = line.find(kCacheSeparator, start);
    if (separator == std::string_view::npos) return {};
    start = separator + 1;
  }
  const size_t end = line.find(kCacheSeparator, start);
  return line.substr(start, end == std::string_view::npos ? line.size() - start : end - start);
}

std::optional<int64_t> RecordedOfLine(std::string_view line) {
  const std::string_view time = Field(line, 2);
  int64_t value = 0;
  const bool negative = !time.empty() && time[0] == '-';
  const std::string_view digits = negative ? time.substr(1) : time;
  if (digits.empty() || digits.size() > 10) return std::nullopt;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return RecordedNumber(FromDosTime(static_cast<uint32_t>(negative ? -value : value)));
}

// The row a query reads, from a cache line without the list's size and date texts.
ListRow SearchRowOf(std::string_view line, std::string_view location, const UserInfo& notes) {
  ListRow row;
  for (size_t column = 0; column < kCacheFieldCount; ++column) {
    row[column] = std::string(Field(line, column));
  }
  row[kArchiveLocationColumn] = ArchiveLocationColumnText(row[kArchiveLocationColumn]);
  row[kLocationColumn] = std::string(location);
  row[kPovColumn] = notes.POV;
  row[kRatingColumn] = notes.Rating;
  row[kWebColumn] = notes.Web;
  row[kDescriptionColumn] = notes.Description;
  return row;
}

std::string FirstLine(std::string_view text) {
  return std::string(text.substr(0, text.find('\n')));
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) text += '\n';
    text += line;
  }
  return text;
}

uint64_t Fingerprint(const std::string& folder, const std::vector<IndexedDemo>& demos) {
  const std::hash<std::string_view> hash;
  uint64_t value = hash(folder);
  const auto mix = [&](std::string_view text) {
    value = (value ^ hash(text)) * 0x9E3779B97F4A7C15u + 1;
  };
  for (const IndexedDemo& demo : demos) {
    mix(demo.line);
    mix(demo.location);
    mix(demo.notes.POV);
    mix(demo.notes.Rating);
    mix(demo.notes.Web);
    mix(demo.notes.Description);
  }
  // 0 marks a folder whose records changed since it was listed.
  return value == 0 ? 1 : value;
}

// The record's folded texts into "words", in its column order.
void BindWords(SqliteStatement& statement, int first, const SearchRecord& record) {
  statement.Bind(first, record.name)
      .Bind(first + 1, record.map)
      .Bind(first + 2, record.host)
      .Bind(first + 3, record.players)
      .Bind(first + 4, record.mod)
      .Bind(first + 5, record.winner)
      .Bind(first + 6, record.notes)
      .Bind(first + 7, record.type)
      .Bind(first + 8, record.place);
}

}  // namespace

std::string RowKey(const ListRow& row) {
  return row[kLocationColumn] + '\n' + row[kArchiveLocationColumn] + '\n' + row[kDemonameColumn];
}

LibraryIndex::LibraryIndex(std::string path, Context context)
    : path_(std::move(path)), context_(std::move(context)) {
  Open();
}

LibraryIndex::~LibraryIndex() = default;

void LibraryIndex::Open() {
  try {
    database_ = std::make_unique<SqliteDatabase>(path_, kBusyMs);
    database_->Execute("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;");
    SqliteStatement version(database_->handle(), "PRAGMA user_version");
    version.Step();
    const int64_t found = version.Integer(0);
    if (found == kSchemaVersion) {
      // Tables changed by hand make the statements fail: such a file counts as damaged.
      try {
        SqliteStatement check(database_->handle(), kSchemaCheck);
        return;
      } catch (const DatabaseError& error) {
        throw DatabaseError{SQLITE_CORRUPT, error.text};
      }
    }
    SqliteDatabase::Transaction transaction(*database_);
    if (found != 0) {
      database_->Execute(
          "DROP TABLE IF EXISTS words; DROP TABLE IF EXISTS demos; DROP TABLE IF EXISTS folders;");
    }
    database_->Execute(kSchema);
    database_->Execute("PRAGMA user_version = " + std::to_string(kSchemaVersion));
    transaction.Commit();
  } catch (const DatabaseError& error) {
    MakeAnew(error);
  }
}

void LibraryIndex::MakeAnew(const DatabaseError& error) {
  database_.reset();
  ++generation_;
  std::error_code ignored;
  // The files are replaced only when they are the index's own, never through a link.
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
    const std::string file = path_ + suffix;
    if (std::filesystem::is_symlink(file, ignored)) {
      context_.messages.Show("RWT Library Index",
                             "The library index " + path_ + " cannot be used:\r\n" + file +
                                 " is a link. Searching works without it.",
                             MessageIcon::kError);
      return;
    }
  }
  context_.messages.Show("RWT Library Index",
                         "The library index " + path_ + " could not be used (" + error.text +
                             ").\r\nIt is made anew and fills again as folders are listed.",
                         MessageIcon::kWarning);
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
    if (context_.files.Exists(path_ + suffix)) context_.files.DeleteFile(path_ + suffix);
  }
  try {
    database_ = std::make_unique<SqliteDatabase>(path_, kBusyMs);
    database_->Execute("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;");
    SqliteDatabase::Transaction transaction(*database_);
    database_->Execute(kSchema);
    database_->Execute("PRAGMA user_version = " + std::to_string(kSchemaVersion));
    transaction.Commit();
  } catch (const DatabaseError& again) {
    database_.reset();
    context_.messages.Show("RWT Library Index",
                           "The library index " + path_ + " cannot be made (" + again.text +
                               "). Searching works without it.",
                           MessageIcon::kError);
  }
}

bool LibraryIndex::Fail(const DatabaseError& error) {
  ++generation_;
  if (error.unusableFile()) {
    MakeAnew(error);
    return true;
  }
  // Another copy holds the index, or the change failed on its own: it is left out, and the
  // folder is written again at its next listing.
  if (!error.busy() || toldBusy_) return false;
  toldBusy_ = true;
  context_.messages.Show("RWT Library Index",
                         "The library index " + path_ +
                             " is kept busy by another program; searches may miss recent "
                             "changes until the folders are listed again.",
                         MessageIcon::kInformation);
  return false;
}

template <typename Work>
bool LibraryIndex::Write(Work work) {
  // An unusable file is made anew, and the change written once more into the new one.
  for (int attempt = 0; attempt < 2 && database_ != nullptr; ++attempt) {
    try {
      SqliteDatabase::Transaction transaction(*database_);
      work();
      transaction.Commit();
      ++generation_;
      return true;
    } catch (const DatabaseError& error) {
      if (!Fail(error)) return false;
    }
  }
  return false;
}

void LibraryIndex::FolderListed(const std::string& folder, const std::vector<IndexedDemo>& demos) {
  if (database_ == nullptr) return;
  const uint64_t fingerprint = Fingerprint(folder, demos);
  try {
    SqliteStatement stored(database_->handle(), "SELECT fingerprint FROM folders WHERE path = ?");
    stored.Bind(1, folder);
    if (stored.Step() && static_cast<uint64_t>(stored.Integer(0)) == fingerprint) return;
  } catch (const DatabaseError& error) {
    Fail(error);
  }
  Write([&] { WriteFolder(folder, demos, fingerprint); });
}

std::string LibraryIndex::FullDescription(const IndexedDemo& demo) {
  const UserInfo& notes = demo.notes;
  if (notes.POV.empty() && notes.Rating.empty() && notes.Web.empty() && notes.Description.empty()) {
    return {};
  }
  const std::string name(Field(demo.line, 0));
  const std::optional<UserData> data =
      ReadUserData(context_.files, UserDataPath(context_.userDataFolder, name));
  return data ? Joined(data->Description) : notes.Description;
}

void LibraryIndex::WriteFolder(const std::string& folder, const std::vector<IndexedDemo>& demos,
                               uint64_t fingerprint) {
  sqlite3* db = database_->handle();
  struct Stored {
    int64_t id;
    UserInfo notes;
    bool kept = false;
  };
  std::unordered_map<std::string, Stored> stored;
  {
    SqliteStatement select(db,
                           "SELECT id, location, line, pov, rating_text, web, description "
                           "FROM demos WHERE folder = ?");
    select.Bind(1, folder);
    while (select.Step()) {
      std::string key = std::string(select.Text(1)) + '\0' + std::string(select.Text(2));
      stored.emplace(std::move(key),
                     Stored{select.Integer(0),
                            {std::string(select.Text(3)), std::string(select.Text(4)),
                             std::string(select.Text(5)), FirstLine(select.Text(6))}});
    }
  }
  SqliteStatement insert(db,
                         "INSERT INTO demos(folder, location, archive_folder, name, line, pov, "
                         "rating_text, web, description, players, protocol, rating, seconds, "
                         "recorded) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  SqliteStatement insertWords(db,
                              "INSERT INTO words(rowid, name, map, host, players, mod, winner, "
                              "notes, type, place) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  SqliteStatement updateNotes(db,
                              "UPDATE demos SET pov = ?, rating_text = ?, web = ?, "
                              "description = ?, rating = ? WHERE id = ?");
  SqliteStatement updateWordNotes(db, "UPDATE words SET notes = ? WHERE rowid = ?");
  for (const IndexedDemo& demo : demos) {
    const std::string key = demo.location + '\0' + demo.line;
    const auto found = stored.find(key);
    if (found != stored.end() && !found->second.kept) {
      Stored& row = found->second;
      row.kept = true;
      const UserInfo& notes = demo.notes;
      if (row.notes.POV == notes.POV && row.notes.Rating == notes.Rating &&
          row.notes.Web == notes.Web && row.notes.Description == notes.Description) {
        continue;
      }
      const std::string description = FullDescription(demo);
      updateNotes.Bind(1, notes.POV).Bind(2, notes.Rating).Bind(3, notes.Web);
      updateNotes.Bind(4, description)
          .Bind(5, NumberOfText(notes.Rating).value_or(0))
          .Bind(6, row.id)
          .Run();
      const ListRow searchRow = SearchRowOf(demo.line, demo.location, notes);
      updateWordNotes.Bind(1, SearchRecordOf(searchRow, {"", description, {}}).notes)
          .Bind(2, row.id)
          .Run();
      continue;
    }
    const std::string description = FullDescription(demo);
    const ListRow row = SearchRowOf(demo.line, demo.location, demo.notes);
    const RowExtras extras{demo.players.value_or(""), description, RecordedOfLine(demo.line)};
    const SearchRecord record = SearchRecordOf(row, extras);
    insert.Bind(1, folder)
        .Bind(2, demo.location)
        .Bind(3, row[kArchiveLocationColumn])
        .Bind(4, row[kDemonameColumn])
        .Bind(5, demo.line)
        .Bind(6, demo.notes.POV)
        .Bind(7, demo.notes.Rating)
        .Bind(8, demo.notes.Web)
        .Bind(9, description);
    if (demo.players) {
      insert.Bind(10, *demo.players);
    } else {
      insert.BindNull(10);
    }
    if (record.protocol) {
      insert.Bind(11, *record.protocol);
    } else {
      insert.BindNull(11);
    }
    insert.Bind(12, record.rating).Bind(13, record.seconds);
    if (record.recorded) {
      insert.Bind(14, *record.recorded);
    } else {
      insert.BindNull(14);
    }
    insert.Run();
    insertWords.Bind(1, database_->LastInsertId());
    BindWords(insertWords, 2, record);
    insertWords.Run();
  }
  SqliteStatement removeWords(db, "DELETE FROM words WHERE rowid = ?");
  SqliteStatement removeDemo(db, "DELETE FROM demos WHERE id = ?");
  for (const auto& [key, row] : stored) {
    if (row.kept) continue;
    removeWords.Bind(1, row.id).Run();
    removeDemo.Bind(1, row.id).Run();
  }
  SqliteStatement folderRow(db, "INSERT OR REPLACE INTO folders(path, fingerprint) VALUES(?, ?)");
  folderRow.Bind(1, folder).Bind(2, static_cast<int64_t>(fingerprint)).Run();
}

std::set<std::string> LibraryIndex::IndexedFolders() {
  std::set<std::string> folders;
  if (database_ == nullptr) return folders;
  try {
    SqliteStatement select(database_->handle(), "SELECT path FROM folders");
    while (select.Step()) folders.emplace(select.Text(0));
  } catch (const DatabaseError& error) {
    Fail(error);
    folders.clear();
  }
  return folders;
}

FoundRows LibraryIndex::Find(const DemoQuery& query, const std::vector<std::string>& folders,
                             size_t limit) {
  FoundRows found;
  if (database_ == nullptr) return found;
  try {
    database_->Execute("CREATE TEMP TABLE IF NOT EXISTS scope(path TEXT PRIMARY KEY)");
    SqliteDatabase::Transaction reading(*database_, false);
    database_->Execute("DELETE FROM temp.scope");
    {
      SqliteStatement add(database_->handle(), "INSERT OR IGNORE INTO temp.scope VALUES(?)");
      for (const std::string& folder : folders) add.Bind(1, folder).Run();
    }
    const IndexQuery compiled =
        CompileQuery(query, "d.line, d.location, d.pov, d.rating_text, d.web, d.description");
    SqliteStatement select(database_->handle(), compiled.sql);
    for (size_t i = 0; i < compiled.parameters.size(); ++i) {
      const SqlParameter& parameter = compiled.parameters[i];
      const int index = static_cast<int>(i) + 1;
      if (parameter.isNumber) {
        select.Bind(index, parameter.number);
      } else {
        select.Bind(index, parameter.text);
      }
    }
    while (select.Step()) {
      ++found.total;
      if (found.rows.size() >= limit) continue;
      const UserInfo notes{std::string(select.Text(2)), std::string(select.Text(3)),
                           std::string(select.Text(4)), FirstLine(select.Text(5))};
      found.rows.push_back(
          RowFromCacheLine(select.Text(0), select.Text(1), notes, context_.locale));
    }
    reading.Commit();
  } catch (const DatabaseError& error) {
    Fail(error);
    return {};
  }
  return found;
}

std::unordered_map<std::string, RowExtras> LibraryIndex::ExtrasOf(const std::string& folder) {
  std::unordered_map<std::string, RowExtras> extras;
  if (database_ == nullptr) return extras;
  try {
    SqliteStatement select(database_->handle(),
                           "SELECT location, archive_folder, name, players, description, line "
                           "FROM demos WHERE folder = ?");
    select.Bind(1, folder);
    while (select.Step()) {
      std::string key = std::string(select.Text(0)) + '\n' + std::string(select.Text(1)) + '\n' +
                        std::string(select.Text(2));
      extras[std::move(key)] = {std::string(select.Text(3)), std::string(select.Text(4)),
                                RecordedOfLine(select.Text(5))};
    }
  } catch (const DatabaseError& error) {
    Fail(error);
    extras.clear();
  }
  return extras;
}

std::vector<DemoToRead> LibraryIndex::DemosWithoutPlayers(size_t limit, const std::string& folder,
                                                          bool elsewhereToo) {
  std::vector<DemoToRead> demos;
  if (database_ == nullptr) return demos;
  try {
    SqliteStatement inFolder(database_->handle(),
                             "SELECT id, location, name, line FROM demos "
                             "WHERE folder = ? AND players IS NULL LIMIT ?");
    SqliteStatement anywhere(database_->handle(),
                             "SELECT id, location, name, line FROM demos "
                             "WHERE players IS NULL LIMIT ?");
    inFolder.Bind(1, folder).Bind(2, static_cast<int64_t>(limit));
    anywhere.Bind(1, static_cast<int64_t>(limit));
    for (SqliteStatement* select : {&inFolder, &anywhere}) {
      if (select == &anywhere && !elsewhereToo) break;
      while (demos.size() < limit && select->Step()) {
        const std::string_view location = select->Text(1);
        const std::string_view name = select->Text(2);
        const std::string_view archiveField = Field(select->Text(3), 3);
        DemoToRead demo{select->Integer(0), JoinPath(location, name), ""};
        if (!archiveField.empty()) {
          const std::string folderInside = ArchiveLocationColumnText(archiveField);
          demo.path =
              folderInside.empty() ? std::string(name) : folderInside + '\\' + std::string(name);
          demo.archive = std::string(location);
        }
        if (std::none_of(demos.begin(), demos.end(),
                         [&](const DemoToRead& d) { return d.id == demo.id; })) {
          demos.push_back(std::move(demo));
        }
      }
    }
  } catch (const DatabaseError& error) {
    Fail(error);
    demos.clear();
  }
  return demos;
}

bool LibraryIndex::SetPlayers(const std::vector<std::pair<int64_t, std::string>>& players) {
  if (database_ == nullptr) return false;
  return Write([&] {
    SqliteStatement update(database_->handle(), "UPDATE demos SET players = ? WHERE id = ?");
    SqliteStatement words(database_->handle(), "UPDATE words SET players = ? WHERE rowid = ?");
    for (const auto& [id, names] : players) {
      update.Bind(1, names).Bind(2, id).Run();
      words.Bind(1, FoldedText(names)).Bind(2, id).Run();
    }
  });
}

void LibraryIndex::UpdatePlace(const std::string& location, int64_t id,
                               const std::string& archiveFolder) {
  SqliteStatement update(database_->handle(), "UPDATE words SET place = ? WHERE rowid = ?");
  update.Bind(1, FoldedName(location + '/' + archiveFolder)).Bind(2, id).Run();
}

void LibraryIndex::DemoRenamed(const std::string& folder, const std::string& oldName,
                               const std::string& newName) {
  if (database_ == nullptr) return;
  Write([&] {
    sqlite3* db = database_->handle();
    SqliteStatement select(db,
                           "SELECT id, line FROM demos WHERE folder = ? AND location = ? AND "
                           "archive_folder = '' AND name = ?");
    select.Bind(1, folder).Bind(2, folder).Bind(3, oldName);
    std::vector<std::pair<int64_t, std::string>> renamed;
    while (select.Step()) {
      const std::string_view line = select.Text(1);
      // A plain file's line: its name, then the rest with an empty archive field.
      renamed.emplace_back(select.Integer(0), newName + std::string(line.substr(oldName.size())));
    }
    SqliteStatement update(db, "UPDATE demos SET name = ?, line = ? WHERE id = ?");
    SqliteStatement words(db, "UPDATE words SET name = ? WHERE rowid = ?");
    for (const auto& [id, line] : renamed) {
      update.Bind(1, newName).Bind(2, line).Bind(3, id).Run();
      words.Bind(1, FoldedName(newName)).Bind(2, id).Run();
    }
    SqliteStatement stale(db, "UPDATE folders SET fingerprint = 0 WHERE path = ?");
    stale.Bind(1, folder).Run();
  });
}

void LibraryIndex::DemoDeleted(const std::string& folder, const std::string& name) {
  if (database_ == nullptr) return;
  Write([&] {
    sqlite3* db = database_->handle();
    const std::string plainFile =
        "FROM demos WHERE folder = ?1 AND location = ?1 AND archive_folder = '' AND name = ?2";
    SqliteStatement words(db, "DELETE FROM words WHERE rowid IN (SELECT id " + plainFile + ")");
    words.Bind(1, folder).Bind(2, name).Run();
    SqliteStatement demos(db, "DELETE " + plainFile);
    demos.Bind(1, folder).Bind(2, name).Run();
    SqliteStatement stale(db, "UPDATE folders SET fingerprint = 0 WHERE path = ?");
    stale.Bind(1, folder).Run();
  });
}

void LibraryIndex::DemoMoved(const std::string& fromFolder, const std::string& name,
                             const std::string& toFolder) {
  if (database_ == nullptr) return;
  // A demo of that name in the target was replaced by the moved one.
  DemoDeleted(toFolder, name);
  Write([&] {
    sqlite3* db = database_->handle();
    SqliteStatement select(db,
                           "SELECT id FROM demos WHERE folder = ?1 AND location = ?1 AND "
                           "archive_folder = '' AND name = ?2");
    select.Bind(1, fromFolder).Bind(2, name);
    std::vector<int64_t> moved;
    while (select.Step()) moved.push_back(select.Integer(0));
    SqliteStatement update(db, "UPDATE demos SET folder = ?1, location = ?1 WHERE id = ?2");
    for (const int64_t id : moved) {
      update.Bind(1, toFolder).Bind(2, id).Run();
      UpdatePlace(toFolder, id, "");
    }
    SqliteStatement stale(db, "UPDATE folders SET fingerprint = 0 WHERE path = ?");
    stale.Bind(1, fromFolder).Run();
    stale.Bind(1, toFolder).Run();
  });
}

void LibraryIndex::FolderMoved(const std::string& from, const std::string& to) {
  if (database_ == nullptr) return;
  const auto moved = [&](std::string_view path) -> std::optional<std::string> {
    if (path == from) return to;
    if (path.size() > from.size() && path.starts_with(from) && IsPathSeparator(path[from.size()])) {
      return to + std::string(path.substr(from.size()));
    }
    return std::nullopt;
  };
  Write([&] {
    sqlite3* db = database_->handle();
    struct Row {
      int64_t id;
      std::string folder;
      std::string location;
      std::string archiveFolder;
    };
    std::vector<Row> rows;
    {
      // Only the moved folder's rows and those below it start with its path.
      SqliteStatement select(db,
                             "SELECT id, folder, location, archive_folder FROM demos "
                             "WHERE folder >= ?1 AND folder < ?1 || x'ff'");
      select.Bind(1, from);
      while (select.Step()) {
        if (const std::optional<std::string> folder = moved(select.Text(1))) {
          rows.push_back({select.Integer(0), *folder,
                          moved(select.Text(2)).value_or(std::string(select.Text(2))),
                          std::string(select.Text(3))});
        }
      }
    }
    SqliteStatement update(db, "UPDATE demos SET folder = ?, location = ? WHERE id = ?");
    for (const Row& row : rows) {
      update.Bind(1, row.folder).Bind(2, row.location).Bind(3, row.id).Run();
      UpdatePlace(row.location, row.id, row.archiveFolder);
    }
    std::vector<std::pair<std::string, std::string>> folders;  // old path, new path
    {
      SqliteStatement select(db, "SELECT path FROM folders");
      while (select.Step()) {
        if (const std::optional<std::string> path = moved(select.Text(0))) {
          folders.emplace_back(std::string(select.Text(0)), *path);
        }
      }
    }
    SqliteStatement remove(db, "DELETE FROM folders WHERE path = ?");
    SqliteStatement add(db, "INSERT OR REPLACE INTO folders(path, fingerprint) VALUES(?, 0)");
    for (const auto& [oldPath, newPath] : folders) remove.Bind(1, oldPath).Run();
    for (const auto& [oldPath, newPath] : folders) add.Bind(1, newPath).Run();
  });
}

void LibraryIndex::NotesSaved(const std::string& demoName, const UserData& notes) {
  if (database_ == nullptr) return;
  const UserInfo shown = UserInfoFromLines(UserDataLines(notes));
  const std::string description = Joined(notes.Description);
  const int64_t rating = NumberOfText(shown.Rating).value_or(0);
  Write([&] {
    sqlite3* db = database_->handle();
    SqliteStatement select(db, "SELECT id FROM demos WHERE name = ?");
    select.Bind(1, demoName);
    std::vector<int64_t> ids;
    while (select.Step()) ids.push_back(select.Integer(0));
    SqliteStatement update(db,
                           "UPDATE demos SET pov = ?, rating_text = ?, web = ?, description = ?, "
                           "rating = ? WHERE id = ?");
    SqliteStatement words(db, "UPDATE words SET notes = ? WHERE rowid = ?");
    ListRow row;
    row[kPovColumn] = shown.POV;
    row[kWebColumn] = shown.Web;
    const std::string folded = SearchRecordOf(row, {"", description, {}}).notes;
    for (const int64_t id : ids) {
      update.Bind(1, shown.POV).Bind(2, shown.Rating).Bind(3, shown.Web);
      update.Bind(4, description).Bind(5, rating).Bind(6, id).Run();
      words.Bind(1, folded).Bind(2, id).Run();
    }
  });
}

}  // namespace rw
