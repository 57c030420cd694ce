#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace rw {

// A failure SQLite reported: its result code and message.
struct DatabaseError {
  int code = 0;
  std::string text;

  // The file cannot serve: it is no database or a damaged one, or it cannot be opened, read
  // or written.
  bool unusableFile() const;
  // Another connection holds the lock longer than the wait allows.
  bool busy() const;
};

class SqliteDatabase;

// One prepared statement; every failure throws DatabaseError. A statement of a text prepared
// before on the connection is taken from it ready made, and given back when it goes.
class SqliteStatement {
 public:
  SqliteStatement(SqliteDatabase& database, std::string_view sql);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // Parameters count from 1.
  SqliteStatement& Bind(int parameter, std::string_view text);
  SqliteStatement& Bind(int parameter, int64_t value);
  SqliteStatement& BindNull(int parameter);
  // True while there is a row to read.
  bool Step();
  // Runs to the end and makes the statement ready for new parameters.
  void Run();
  void Reset();

  std::string_view Text(int column) const;
  int64_t Integer(int column) const;
  bool IsNull(int column) const;

 private:
  SqliteDatabase& database_;
  std::string sql_;
  sqlite3_stmt* statement_ = nullptr;
};

// One connection; every failure throws DatabaseError.
class SqliteDatabase {
 public:
  // Opens or creates the file; waits up to busyMs for another connection's lock.
  SqliteDatabase(const std::string& path, int busyMs);
  ~SqliteDatabase();
  SqliteDatabase(const SqliteDatabase&) = delete;
  SqliteDatabase& operator=(const SqliteDatabase&) = delete;

  void Execute(const std::string& sql);
  sqlite3* handle() const { return database_; }
  int64_t LastInsertId() const;

  // Commits when Commit is called, else rolls back when it ends. A writing transaction takes
  // the write lock at once; a reading one sees one state of the file throughout.
  class Transaction {
   public:
    explicit Transaction(SqliteDatabase& database, bool writes = true);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();

   private:
    SqliteDatabase& database_;
    bool open_ = true;
  };

 private:
  friend class SqliteStatement;

  sqlite3* database_ = nullptr;
  // Prepared statements not in use, by their text.
  std::unordered_multimap<std::string, sqlite3_stmt*> idle_;
};

}  // namespace rw
