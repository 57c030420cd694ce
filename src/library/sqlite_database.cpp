#include "library/sqlite_database.h"

#include <sqlite3.h>

namespace rw {
namespace {

[[noreturn]] void Throw(sqlite3* database, int code) {
  throw DatabaseError{code, database != nullptr ? sqlite3_errmsg(database) : sqlite3_errstr(code)};
}

void Check(sqlite3* database, int code) {
  if (code != SQLITE_OK) Throw(database, code);
}

}  // namespace

bool DatabaseError::unusableFile() const {
  switch (code & 0xFF) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
    case SQLITE_IOERR:
    case SQLITE_PERM:
      return true;
    default:
      return false;
  }
}

bool DatabaseError::busy() const {
  const int primary = code & 0xFF;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

SqliteStatement::SqliteStatement(SqliteDatabase& database, std::string_view sql)
    : database_(database), sql_(sql) {
  const auto idle = database_.idle_.find(sql_);
  if (idle != database_.idle_.end()) {
    statement_ = idle->second;
    database_.idle_.erase(idle);
    return;
  }
  Check(database_.handle(),
        sqlite3_prepare_v3(database_.handle(), sql_.data(), static_cast<int>(sql_.size()),
                           SQLITE_PREPARE_PERSISTENT, &statement_, nullptr));
}

SqliteStatement::~SqliteStatement() {
  // Searches make texts of their own: only so many are kept.
  constexpr size_t kKeptStatements = 64;
  if (database_.idle_.size() >= kKeptStatements) {
    sqlite3_finalize(statement_);
    return;
  }
  // Reset, it holds no lock and no snapshot of the file while it waits.
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
  database_.idle_.emplace(std::move(sql_), statement_);
}

SqliteStatement& SqliteStatement::Bind(int parameter, std::string_view text) {
  Check(database_.handle(), sqlite3_bind_text64(statement_, parameter, text.data(), text.size(),
                                                SQLITE_TRANSIENT, SQLITE_UTF8));
  return *this;
}

SqliteStatement& SqliteStatement::Bind(int parameter, int64_t value) {
  Check(database_.handle(), sqlite3_bind_int64(statement_, parameter, value));
  return *this;
}

SqliteStatement& SqliteStatement::BindNull(int parameter) {
  Check(database_.handle(), sqlite3_bind_null(statement_, parameter));
  return *this;
}

bool SqliteStatement::Step() {
  const int code = sqlite3_step(statement_);
  if (code == SQLITE_ROW) return true;
  if (code == SQLITE_DONE) return false;
  sqlite3_reset(statement_);
  Throw(database_.handle(), code);
}

void SqliteStatement::Run() {
  while (Step()) {
  }
  Reset();
}

void SqliteStatement::Reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

std::string_view SqliteStatement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  return text != nullptr
             ? std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(statement_, column)))
             : std::string_view();
}

int64_t SqliteStatement::Integer(int column) const {
  return sqlite3_column_int64(statement_, column);
}

bool SqliteStatement::IsNull(int column) const {
  return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

SqliteDatabase::SqliteDatabase(const std::string& path, int busyMs) {
  const int code = sqlite3_open_v2(path.c_str(), &database_,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (code != SQLITE_OK) {
    DatabaseError error{code, database_ != nullptr ? sqlite3_errmsg(database_) : ""};
    sqlite3_close(database_);
    throw error;
  }
  sqlite3_extended_result_codes(database_, 1);
  sqlite3_busy_timeout(database_, busyMs);
}

SqliteDatabase::~SqliteDatabase() {
  for (const auto& [sql, statement] : idle_) sqlite3_finalize(statement);
  sqlite3_close_v2(database_);
}

void SqliteDatabase::Execute(const std::string& sql) {
  Check(database_, sqlite3_exec(database_, sql.c_str(), nullptr, nullptr, nullptr));
}

int64_t SqliteDatabase::LastInsertId() const {
  return sqlite3_last_insert_rowid(database_);
}

SqliteDatabase::Transaction::Transaction(SqliteDatabase& database, bool writes)
    : database_(database) {
  database_.Execute(writes ? "BEGIN IMMEDIATE" : "BEGIN");
}

SqliteDatabase::Transaction::~Transaction() {
  if (open_) sqlite3_exec(database_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteDatabase::Transaction::Commit() {
  database_.Execute("COMMIT");
  open_ = false;
}

}  // namespace rw
