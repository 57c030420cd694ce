#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "demo/user_info.h"
#include "host/file_system.h"
#include "host/locale.h"
#include "host/messages.h"
#include "library/demo_query.h"
#include "library/listing_sink.h"
#include "library/search_record.h"
#include "library/user_data.h"
#include "model/list_row.h"

namespace rw {

class SqliteDatabase;
struct DatabaseError;

// A demo whose players the index does not know yet: where to read it.
struct DemoLackingPlayers {
  int64_t id = 0;
  std::string path;     // the demo file, or the member's path inside archive
  std::string archive;  // empty for a plain file
};

// Find's answer: the rows of the matching demos, at most the limit asked for, and how many
// demos match in all.
struct FoundRows {
  std::vector<ListRow> rows;
  size_t total = 0;
};

// The library index, "Library.sqlite" in the data folder: one record per listed demo (its
// parse cache line, "Location", the user's notes, the players' names, and the folded texts a
// query reads, in an FTS5 table). It is a cache of the folders' parse caches and the notes:
// a damaged or unusable file is replaced by an empty one, with a message, and fills again as
// folders are listed. Every write is one transaction; the file is in WAL mode and a
// connection waits for another's lock, so running copies of the program share it.
class LibraryIndex : public ListingSink {
 public:
  struct Context {
    FileSystem& files;
    Messages& messages;
    const Locale& locale;
    std::string userDataFolder;  // the notes, whose whole description the index keeps
  };

  LibraryIndex(std::string path, Context context);
  ~LibraryIndex() override;
  LibraryIndex(const LibraryIndex&) = delete;
  LibraryIndex& operator=(const LibraryIndex&) = delete;

  const std::string& path() const { return path_; }
  // False once the file could neither be opened nor made anew; every call then does nothing.
  bool usable() const { return database_ != nullptr; }

  // A complete listing of a folder: its records become the demos given, in one transaction.
  // Nothing is written when the folder's demos and notes are what the index holds already.
  void FolderListed(const std::string& folder, const std::vector<IndexedDemo>& demos) override;
  // The folders that were listed into the index.
  std::set<std::string> IndexedFolders();

  // The demos of the folders (each folder itself, not what lies below it) that match.
  FoundRows Find(const DemoQuery& query, const std::vector<std::string>& folders,
                 size_t limit = SIZE_MAX);
  // What the filter box reads beside the rows of a listed folder, by RowKey.
  std::unordered_map<std::string, RowExtras> ExtrasOf(const std::string& folder);

  // Demos listed from a cache whose players are not known yet: those of folder, then with
  // elsewhereToo those of any folder. The program reads them out of the user's sight.
  std::vector<DemoLackingPlayers> DemosWithoutPlayers(size_t limit, const std::string& folder,
                                                      bool elsewhereToo);
  // The players of each demo read (one name a line, colour codes removed), in one transaction;
  // whether they were written.
  bool SetPlayers(const std::vector<std::pair<int64_t, std::string>>& players);
  // Increases with every change of the records, so that a reader knows when to read again.
  uint64_t generation() const { return generation_; }

  // The user changed files and notes: the records follow at once.
  void DemoRenamed(const std::string& folder, const std::string& oldName,
                   const std::string& newName);
  void DemoDeleted(const std::string& folder, const std::string& name);
  void DemoMoved(const std::string& fromFolder, const std::string& name,
                 const std::string& toFolder);
  void FolderMoved(const std::string& from, const std::string& to);
  // The notes of every demo of that file name.
  void NotesSaved(const std::string& demoName, const UserData& notes);

 private:
  // The folded texts of one demo, in the column order of the tables "texts" and "words".
  using FoldedTexts = std::array<std::string, 9>;

  void Open();
  void MakeAnew(const DatabaseError& error);
  // Counts the failure; true when the file was made anew, so the work may be done again.
  bool Fail(const DatabaseError& error);
  // Runs work in a transaction; whether it was written.
  template <typename Work>
  bool Write(Work work);
  void WriteFolder(const std::string& folder, const std::vector<IndexedDemo>& demos,
                   uint64_t fingerprint);
  std::string FullDescription(const IndexedDemo& demo);
  // The folder's number, a new one for a folder the index does not know.
  int64_t FolderId(const std::string& path);
  // A folder whose records changed since its listing is written again at its next one.
  void MarkChanged(int64_t folderId);
  FoldedTexts ReadTexts(int64_t id);
  // New texts of a demo, or none when it goes.
  struct TextChange {
    int64_t id;
    std::optional<FoldedTexts> texts;
  };
  void ChangeTexts(const std::vector<TextChange>& changes);
  // One text of each demo.
  void ChangeColumn(const std::vector<std::pair<int64_t, std::string>>& values, size_t column);
  void RemoveDemos(const std::vector<int64_t>& ids);
  // The records of the plain file name in folder.
  std::vector<int64_t> PlainFiles(int64_t folderId, const std::string& folder,
                                  const std::string& name);

  std::string path_;
  Context context_;
  std::unique_ptr<SqliteDatabase> database_;
  uint64_t generation_ = 1;
  bool toldBusy_ = false;
};

// The key of a row among the rows of one folder: "Location", "Archive Location" and name.
std::string RowKey(const ListRow& row);

}  // namespace rw
