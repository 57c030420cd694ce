#include "library/library_index.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
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

// WAL lets readers go on while another copy writes; a commit then needs no sync of the file.
// Reading through a memory map and a larger page cache keeps finding many rows quick.
constexpr const char* kSettings =
    "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; PRAGMA mmap_size = 268435456; "
    "PRAGMA cache_size = -32768;";

// What queries compare stays in narrow tables, so that looking at every demo is quick; the
// FTS5 index reads its texts from "texts"; what a found demo shows is in "shown".
constexpr const char* kSchema = R"(
CREATE TABLE folders(
  id INTEGER PRIMARY KEY,
  path TEXT NOT NULL UNIQUE,
  fingerprint INTEGER
);
CREATE TABLE demos(
  id INTEGER PRIMARY KEY,
  folder INTEGER NOT NULL,
  protocol INTEGER,
  rating INTEGER NOT NULL,
  seconds INTEGER NOT NULL,
  recorded INTEGER
);
CREATE INDEX demos_by_folder ON demos(folder);
CREATE TABLE texts(
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL,
  map TEXT NOT NULL,
  host TEXT NOT NULL,
  players TEXT NOT NULL,
  mod TEXT NOT NULL,
  winner TEXT NOT NULL,
  notes TEXT NOT NULL,
  type TEXT NOT NULL,
  place TEXT NOT NULL
);
CREATE INDEX texts_by_map ON texts(map);
CREATE INDEX texts_by_type ON texts(type);
CREATE VIRTUAL TABLE words USING fts5(name, map, host, players, mod, winner, notes, type, place,
                                      content = 'texts', content_rowid = 'id',
                                      tokenize = 'trigram case_sensitive 1');
CREATE TABLE shown(
  id INTEGER PRIMARY KEY,
  location TEXT NOT NULL,
  archive_folder TEXT NOT NULL,
  name TEXT NOT NULL,
  line TEXT NOT NULL,
  pov TEXT NOT NULL,
  rating_text TEXT NOT NULL,
  web TEXT NOT NULL,
  description TEXT NOT NULL,
  players TEXT
);
CREATE INDEX shown_by_name ON shown(name);
CREATE INDEX shown_without_players ON shown(id) WHERE players IS NULL;
)";

// A connection's own tables: the folders a search looks in, and the demos a change is about.
constexpr const char* kTemporaryTables =
    "CREATE TEMP TABLE IF NOT EXISTS scope(id INTEGER PRIMARY KEY); "
    "CREATE TEMP TABLE IF NOT EXISTS batch(id INTEGER PRIMARY KEY);";

// Reads every column of every table, so that it prepares only on the tables of kSchema.
constexpr const char* kSchemaCheck =
    "SELECT f.id, f.path, f.fingerprint, d.id, d.folder, d.protocol, d.rating, d.seconds, "
    "d.recorded, t.id, t.name, t.map, t.host, t.players, t.mod, t.winner, t.notes, t.type, "
    "t.place, s.id, s.location, s.archive_folder, s.name, s.line, s.pov, s.rating_text, s.web, "
    "s.description, s.players, w.name, w.place "
    "FROM folders f, demos d, texts t, shown s, words w LIMIT 0";

enum TextColumn : size_t {
  kNameText,
  kMapText,
  kHostText,
  kPlayersText,
  kModText,
  kWinnerText,
  kNotesText,
  kTypeText,
  kPlaceText
};

std::array<std::string, 9> TextsOf(const SearchRecord& record) {
  return {record.name,   record.map,   record.host, record.players, record.mod,
          record.winner, record.notes, record.type, record.place};
}

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
  SetLocationAndNotes(row, location, notes);
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
    database_->Execute(kSettings);
    database_->Execute(kTemporaryTables);
    SqliteStatement version(*database_, "PRAGMA user_version");
    version.Step();
    const int64_t found = version.Integer(0);
    if (found == kSchemaVersion) {
      // Tables changed by hand make the statements fail: such a file counts as damaged.
      try {
        SqliteStatement check(*database_, kSchemaCheck);
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
    // A file another copy keeps locked is no damaged one: it is left alone.
    if (error.busy()) {
      database_.reset();
      Fail(error);
      return;
    }
    MakeAnew(error);
  }
}

void LibraryIndex::MakeAnew(const DatabaseError& error) {
  database_.reset();
  ++generation_;
  constexpr const char* kFiles[] = {"", "-wal", "-shm", "-journal"};
  std::error_code ignored;
  bool found = false;
  // The files are replaced only when they are the index's own, never through a link.
  for (const char* suffix : kFiles) {
    const std::string file = path_ + suffix;
    if (std::filesystem::is_symlink(file, ignored)) {
      context_.messages.Show("RWT Library Index",
                             "The library index " + path_ + " cannot be used:\r\n" + file +
                                 " is a link. Find Demos finds nothing without it.",
                             MessageIcon::kError);
      return;
    }
    found = found || context_.files.Exists(file);
  }
  if (found) {
    context_.messages.Show("RWT Library Index",
                           "The library index " + path_ + " could not be used (" + error.text +
                               ").\r\nIt is made anew and fills again as folders are listed.",
                           MessageIcon::kWarning);
    for (const char* suffix : kFiles) {
      if (context_.files.Exists(path_ + suffix)) context_.files.DeleteFile(path_ + suffix);
    }
  }
  try {
    database_ = std::make_unique<SqliteDatabase>(path_, kBusyMs);
    database_->Execute(kSettings);
    database_->Execute(kTemporaryTables);
    SqliteDatabase::Transaction transaction(*database_);
    database_->Execute(kSchema);
    database_->Execute("PRAGMA user_version = " + std::to_string(kSchemaVersion));
    transaction.Commit();
  } catch (const DatabaseError& again) {
    database_.reset();
    context_.messages.Show("RWT Library Index",
                           "The library index " + path_ + " cannot be made (" + again.text +
                               "). Find Demos finds nothing without it.",
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
  // folder is written again at its next listing (an index that could not be opened stays off).
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
    SqliteStatement stored(*database_, "SELECT fingerprint FROM folders WHERE path = ?");
    stored.Bind(1, folder);
    if (stored.Step() && !stored.IsNull(0) &&
        static_cast<uint64_t>(stored.Integer(0)) == fingerprint) {
      return;
    }
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

int64_t LibraryIndex::FolderId(const std::string& path) {
  SqliteStatement select(*database_, "SELECT id FROM folders WHERE path = ?");
  select.Bind(1, path);
  if (select.Step()) return select.Integer(0);
  SqliteStatement insert(*database_, "INSERT INTO folders(path) VALUES(?)");
  insert.Bind(1, path).Run();
  return database_->LastInsertId();
}

void LibraryIndex::MarkChanged(int64_t folderId) {
  SqliteStatement stale(*database_,
                        "UPDATE folders SET fingerprint = 0 WHERE id = ? AND fingerprint "
                        "IS NOT NULL");
  stale.Bind(1, folderId).Run();
}

LibraryIndex::FoldedTexts LibraryIndex::ReadTexts(int64_t id) {
  SqliteStatement select(*database_,
                         "SELECT name, map, host, players, mod, winner, notes, type, place "
                         "FROM texts WHERE id = ?");
  select.Bind(1, id);
  FoldedTexts texts;
  if (select.Step()) {
    for (size_t i = 0; i < texts.size(); ++i) texts[i] = select.Text(static_cast<int>(i));
  }
  return texts;
}

void LibraryIndex::ChangeTexts(const std::vector<TextChange>& changes) {
  if (changes.empty()) return;
  SqliteDatabase& db = *database_;
  const auto batch = [&](bool onlyKept) {
    db.Execute("DELETE FROM temp.batch");
    SqliteStatement add(db, "INSERT OR IGNORE INTO temp.batch(id) VALUES(?)");
    for (const TextChange& change : changes) {
      if (!onlyKept || change.texts) add.Bind(1, change.id).Run();
    }
  };
  // FTS5 writes out what it holds at every statement of a transaction: the full-text index
  // is told of all the changes in two statements, the old texts first.
  batch(false);
  db.Execute(
      "INSERT INTO words(words, rowid, name, map, host, players, mod, winner, notes, type, place) "
      "SELECT 'delete', id, name, map, host, players, mod, winner, notes, type, place FROM texts "
      "WHERE id IN (SELECT id FROM temp.batch)");
  SqliteStatement store(db,
                        "INSERT OR REPLACE INTO texts(id, name, map, host, players, mod, winner, "
                        "notes, type, place) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  SqliteStatement remove(db, "DELETE FROM texts WHERE id = ?");
  for (const TextChange& change : changes) {
    if (!change.texts) {
      remove.Bind(1, change.id).Run();
      continue;
    }
    store.Bind(1, change.id);
    for (size_t i = 0; i < change.texts->size(); ++i) {
      store.Bind(2 + static_cast<int>(i), (*change.texts)[i]);
    }
    store.Run();
  }
  batch(true);
  db.Execute(
      "INSERT INTO words(rowid, name, map, host, players, mod, winner, notes, type, place) "
      "SELECT id, name, map, host, players, mod, winner, notes, type, place FROM texts "
      "WHERE id IN (SELECT id FROM temp.batch)");
}

void LibraryIndex::ChangeColumn(const std::vector<std::pair<int64_t, std::string>>& values,
                                size_t column) {
  std::vector<TextChange> changes;
  for (const auto& [id, folded] : values) {
    FoldedTexts texts = ReadTexts(id);
    if (texts[column] == folded) continue;
    texts[column] = folded;
    changes.push_back({id, std::move(texts)});
  }
  ChangeTexts(changes);
}

void LibraryIndex::RemoveDemos(const std::vector<int64_t>& ids) {
  std::vector<TextChange> changes;
  for (const int64_t id : ids) changes.push_back({id, std::nullopt});
  ChangeTexts(changes);
  for (const char* table : {"demos", "shown"}) {
    SqliteStatement remove(*database_, "DELETE FROM " + std::string(table) + " WHERE id = ?");
    for (const int64_t id : ids) remove.Bind(1, id).Run();
  }
}

void LibraryIndex::WriteFolder(const std::string& folder, const std::vector<IndexedDemo>& demos,
                               uint64_t fingerprint) {
  SqliteDatabase& db = *database_;
  const int64_t folderId = FolderId(folder);
  struct Stored {
    int64_t id;
    UserInfo notes;
    bool kept = false;
  };
  std::unordered_map<std::string, Stored> stored;
  {
    SqliteStatement select(db,
                           "SELECT s.id, s.location, s.line, s.pov, s.rating_text, s.web, "
                           "s.description FROM demos d JOIN shown s ON s.id = d.id "
                           "WHERE d.folder = ?");
    select.Bind(1, folderId);
    while (select.Step()) {
      std::string key = std::string(select.Text(1)) + '\0' + std::string(select.Text(2));
      stored.emplace(std::move(key),
                     Stored{select.Integer(0),
                            {std::string(select.Text(3)), std::string(select.Text(4)),
                             std::string(select.Text(5)), FirstLine(select.Text(6))}});
    }
  }
  SqliteStatement insertDemo(db,
                             "INSERT INTO demos(folder, protocol, rating, seconds, recorded) "
                             "VALUES(?, ?, ?, ?, ?)");
  SqliteStatement insertShown(db,
                              "INSERT INTO shown(id, location, archive_folder, name, line, pov, "
                              "rating_text, web, description, players) "
                              "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  SqliteStatement updateNotes(db,
                              "UPDATE shown SET pov = ?, rating_text = ?, web = ?, "
                              "description = ? WHERE id = ?");
  SqliteStatement updateRating(db, "UPDATE demos SET rating = ? WHERE id = ?");
  std::vector<std::pair<int64_t, std::string>> notesChanged;
  std::vector<TextChange> added;
  const auto bindOptional = [](SqliteStatement& statement, int parameter, const auto& value) {
    if (value) {
      statement.Bind(parameter, *value);
    } else {
      statement.BindNull(parameter);
    }
  };
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
      updateNotes.Bind(4, description).Bind(5, row.id).Run();
      updateRating.Bind(1, NumberOfText(notes.Rating).value_or(0)).Bind(2, row.id).Run();
      const ListRow searchRow = SearchRowOf(demo.line, demo.location, notes);
      notesChanged.emplace_back(row.id, SearchRecordOf(searchRow, {"", description, {}}).notes);
      continue;
    }
    const std::string description = FullDescription(demo);
    const ListRow row = SearchRowOf(demo.line, demo.location, demo.notes);
    const SearchRecord record =
        SearchRecordOf(row, {demo.players.value_or(""), description, RecordedOfLine(demo.line)});
    insertDemo.Bind(1, folderId);
    bindOptional(insertDemo, 2, record.protocol);
    insertDemo.Bind(3, record.rating).Bind(4, record.seconds);
    bindOptional(insertDemo, 5, record.recorded);
    insertDemo.Run();
    const int64_t id = database_->LastInsertId();
    insertShown.Bind(1, id)
        .Bind(2, demo.location)
        .Bind(3, row[kArchiveLocationColumn])
        .Bind(4, row[kDemonameColumn])
        .Bind(5, demo.line)
        .Bind(6, demo.notes.POV)
        .Bind(7, demo.notes.Rating)
        .Bind(8, demo.notes.Web)
        .Bind(9, description);
    bindOptional(insertShown, 10, demo.players);
    insertShown.Run();
    added.push_back({id, TextsOf(record)});
  }
  std::vector<int64_t> gone;
  for (const auto& [key, row] : stored) {
    if (!row.kept) gone.push_back(row.id);
  }
  RemoveDemos(gone);
  ChangeColumn(notesChanged, kNotesText);
  ChangeTexts(added);
  SqliteStatement folderRow(db, "UPDATE folders SET fingerprint = ? WHERE id = ?");
  folderRow.Bind(1, static_cast<int64_t>(fingerprint)).Bind(2, folderId).Run();
}

std::set<std::string> LibraryIndex::IndexedFolders() {
  std::set<std::string> folders;
  if (database_ == nullptr) return folders;
  try {
    SqliteStatement select(*database_, "SELECT path FROM folders WHERE fingerprint IS NOT NULL");
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
    SqliteDatabase::Transaction reading(*database_, false);
    database_->Execute("DELETE FROM temp.scope");
    {
      SqliteStatement add(*database_,
                          "INSERT OR IGNORE INTO temp.scope SELECT id FROM folders WHERE path = ?");
      for (const std::string& folder : folders) add.Bind(1, folder).Run();
    }
    // Counting alone needs none of what a row shows.
    const IndexQuery compiled =
        limit == 0
            ? CompileQuery(query, "d.id", "")
            : CompileQuery(query, "s.line, s.location, s.pov, s.rating_text, s.web, s.description",
                           "JOIN shown s ON s.id = d.id");
    SqliteStatement select(*database_, compiled.sql);
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
    SqliteStatement select(*database_,
                           "SELECT s.location, s.archive_folder, s.name, s.players, "
                           "s.description, s.line FROM folders f JOIN demos d ON d.folder = f.id "
                           "JOIN shown s ON s.id = d.id WHERE f.path = ?");
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

std::vector<DemoLackingPlayers> LibraryIndex::DemosWithoutPlayers(size_t limit,
                                                                  const std::string& folder,
                                                                  bool elsewhereToo) {
  std::vector<DemoLackingPlayers> demos;
  if (database_ == nullptr) return demos;
  try {
    SqliteStatement inFolder(*database_,
                             "SELECT s.id, s.location, s.name, s.line FROM folders f "
                             "JOIN demos d ON d.folder = f.id JOIN shown s ON s.id = d.id "
                             "WHERE f.path = ? AND s.players IS NULL LIMIT ?");
    SqliteStatement anywhere(*database_,
                             "SELECT id, location, name, line FROM shown "
                             "WHERE players IS NULL LIMIT ?");
    inFolder.Bind(1, folder).Bind(2, static_cast<int64_t>(limit));
    anywhere.Bind(1, static_cast<int64_t>(limit));
    for (SqliteStatement* select : {&inFolder, &anywhere}) {
      if (select == &anywhere && !elsewhereToo) break;
      while (demos.size() < limit && select->Step()) {
        const std::string_view location = select->Text(1);
        const std::string_view name = select->Text(2);
        const std::string_view archiveField = Field(select->Text(3), 3);
        DemoLackingPlayers demo{select->Integer(0), JoinPath(location, name), ""};
        if (!archiveField.empty()) {
          const std::string folderInside = ArchiveLocationColumnText(archiveField);
          demo.path =
              folderInside.empty() ? std::string(name) : folderInside + '\\' + std::string(name);
          demo.archive = std::string(location);
        }
        if (std::none_of(demos.begin(), demos.end(),
                         [&](const DemoLackingPlayers& d) { return d.id == demo.id; })) {
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
    SqliteStatement update(*database_, "UPDATE shown SET players = ? WHERE id = ?");
    std::vector<std::pair<int64_t, std::string>> folded;
    for (const auto& [id, names] : players) {
      update.Bind(1, names).Bind(2, id).Run();
      folded.emplace_back(id, FoldedText(names));
    }
    ChangeColumn(folded, kPlayersText);
  });
}

std::vector<int64_t> LibraryIndex::PlainFiles(int64_t folderId, const std::string& folder,
                                              const std::string& name) {
  SqliteStatement select(*database_,
                         "SELECT s.id FROM demos d JOIN shown s ON s.id = d.id WHERE d.folder = ? "
                         "AND s.location = ? AND s.archive_folder = '' AND s.name = ?");
  select.Bind(1, folderId).Bind(2, folder).Bind(3, name);
  std::vector<int64_t> ids;
  while (select.Step()) ids.push_back(select.Integer(0));
  return ids;
}

void LibraryIndex::DemoRenamed(const std::string& folder, const std::string& oldName,
                               const std::string& newName) {
  if (database_ == nullptr) return;
  Write([&] {
    const int64_t folderId = FolderId(folder);
    SqliteStatement line(*database_, "SELECT line FROM shown WHERE id = ?");
    SqliteStatement update(*database_, "UPDATE shown SET name = ?, line = ? WHERE id = ?");
    std::vector<std::pair<int64_t, std::string>> names;
    for (const int64_t id : PlainFiles(folderId, folder, oldName)) {
      line.Bind(1, id);
      if (!line.Step()) continue;
      // A plain file's line: its name, then the rest with an empty archive field.
      const std::string renamed = newName + std::string(line.Text(0).substr(oldName.size()));
      line.Reset();
      update.Bind(1, newName).Bind(2, renamed).Bind(3, id).Run();
      names.emplace_back(id, FoldedName(newName));
    }
    ChangeColumn(names, kNameText);
    MarkChanged(folderId);
  });
}

void LibraryIndex::DemoDeleted(const std::string& folder, const std::string& name) {
  if (database_ == nullptr) return;
  Write([&] {
    const int64_t folderId = FolderId(folder);
    RemoveDemos(PlainFiles(folderId, folder, name));
    MarkChanged(folderId);
  });
}

void LibraryIndex::DemoMoved(const std::string& fromFolder, const std::string& name,
                             const std::string& toFolder) {
  if (database_ == nullptr) return;
  Write([&] {
    const int64_t fromId = FolderId(fromFolder);
    const int64_t toId = FolderId(toFolder);
    // A demo of that name in the target was replaced by the moved one.
    RemoveDemos(PlainFiles(toId, toFolder, name));
    SqliteStatement folder(*database_, "UPDATE demos SET folder = ? WHERE id = ?");
    SqliteStatement location(*database_, "UPDATE shown SET location = ? WHERE id = ?");
    std::vector<std::pair<int64_t, std::string>> places;
    for (const int64_t id : PlainFiles(fromId, fromFolder, name)) {
      folder.Bind(1, toId).Bind(2, id).Run();
      location.Bind(1, toFolder).Bind(2, id).Run();
      places.emplace_back(id, FoldedName(toFolder + '/'));
    }
    ChangeColumn(places, kPlaceText);
    MarkChanged(fromId);
    MarkChanged(toId);
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
    SqliteDatabase& db = *database_;
    std::vector<std::pair<int64_t, std::string>> folders;
    {
      // Only the moved folder and those below it start with its path.
      SqliteStatement select(
          db, "SELECT id, path FROM folders WHERE path >= ?1 AND path < ?1 || x'ff'");
      select.Bind(1, from);
      while (select.Step()) {
        if (const std::optional<std::string> path = moved(select.Text(1))) {
          folders.emplace_back(select.Integer(0), *path);
        }
      }
    }
    SqliteStatement rename(db, "UPDATE folders SET path = ? WHERE id = ?");
    SqliteStatement select(db,
                           "SELECT s.id, s.location, s.archive_folder FROM demos d "
                           "JOIN shown s ON s.id = d.id WHERE d.folder = ?");
    SqliteStatement location(db, "UPDATE shown SET location = ? WHERE id = ?");
    for (const auto& [folderId, path] : folders) {
      // A folder of the new name that the index held before is the old one no more.
      SqliteStatement taken(db, "SELECT id FROM folders WHERE path = ? AND id <> ?");
      taken.Bind(1, path).Bind(2, folderId);
      if (taken.Step()) {
        const int64_t takenId = taken.Integer(0);
        SqliteStatement demos(db, "SELECT id FROM demos WHERE folder = ?");
        demos.Bind(1, takenId);
        std::vector<int64_t> ids;
        while (demos.Step()) ids.push_back(demos.Integer(0));
        RemoveDemos(ids);
        SqliteStatement drop(db, "DELETE FROM folders WHERE id = ?");
        drop.Bind(1, takenId).Run();
      }
      rename.Bind(1, path).Bind(2, folderId).Run();
      std::vector<std::tuple<int64_t, std::string, std::string>> rows;
      select.Bind(1, folderId);
      while (select.Step()) {
        rows.emplace_back(select.Integer(0),
                          moved(select.Text(1)).value_or(std::string(select.Text(1))),
                          std::string(select.Text(2)));
      }
      select.Reset();
      std::vector<std::pair<int64_t, std::string>> places;
      for (const auto& [id, newLocation, archiveFolder] : rows) {
        location.Bind(1, newLocation).Bind(2, id).Run();
        places.emplace_back(id, FoldedName(newLocation + '/' + archiveFolder));
      }
      ChangeColumn(places, kPlaceText);
    }
  });
}

void LibraryIndex::NotesSaved(const std::string& demoName, const UserData& notes) {
  if (database_ == nullptr) return;
  const UserInfo shown = UserInfoFromLines(UserDataLines(notes));
  const std::string description = Joined(notes.Description);
  const int64_t rating = NumberOfText(shown.Rating).value_or(0);
  ListRow row;
  row[kPovColumn] = shown.POV;
  row[kWebColumn] = shown.Web;
  const std::string folded = SearchRecordOf(row, {"", description, {}}).notes;
  Write([&] {
    SqliteDatabase& db = *database_;
    SqliteStatement select(db, "SELECT id FROM shown WHERE name = ?");
    select.Bind(1, demoName);
    std::vector<int64_t> ids;
    while (select.Step()) ids.push_back(select.Integer(0));
    SqliteStatement update(db,
                           "UPDATE shown SET pov = ?, rating_text = ?, web = ?, description = ? "
                           "WHERE id = ?");
    SqliteStatement ratings(db, "UPDATE demos SET rating = ? WHERE id = ?");
    std::vector<std::pair<int64_t, std::string>> notesTexts;
    for (const int64_t id : ids) {
      update.Bind(1, shown.POV).Bind(2, shown.Rating).Bind(3, shown.Web);
      update.Bind(4, description).Bind(5, id).Run();
      ratings.Bind(1, rating).Bind(2, id).Run();
      notesTexts.emplace_back(id, folded);
    }
    ChangeColumn(notesTexts, kNotesText);
  });
}

}  // namespace rw
