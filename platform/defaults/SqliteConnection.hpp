#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace zelto::defaults {

enum class ConnectionMode {
  // Never creates the file and never writes to it.
  readOnly,
  // Creates the file when missing.
  readWriteCreate,
};

// One short-lived connection to a suite's database, closed when it goes out
// of scope. Every connection waits for a busy database instead of failing at
// once, so that two processes sharing a suite take turns.
class SqliteConnection {
 public:
  SqliteConnection(const std::filesystem::path& path, ConnectionMode mode);
  ~SqliteConnection();
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  // Whether the database could be opened; the database file itself is only
  // read by the first statement.
  bool isOpen() const { return isOpen_; }
  sqlite3* handle() const { return handle_; }

  // Runs statements that return no rows; false when one fails.
  bool execute(const char* sql);

  // The most recent failure: "<path>: <what SQLite said>".
  std::string errorMessage() const;
  // SQLite's primary result code of the most recent failure.
  int errorCode() const;

 private:
  sqlite3* handle_ = nullptr;
  bool isOpen_ = false;
  std::filesystem::path path_;
};

// A prepared statement of a connection, finalized when it goes out of scope.
class SqliteStatement {
 public:
  SqliteStatement(SqliteConnection& connection, std::string_view sql);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // False when the SQL could not be prepared (for example because the
  // database is not a SQLite file or lacks the table).
  bool isPrepared() const { return statement_ != nullptr; }
  sqlite3_stmt* handle() const { return statement_; }

  // Bound bytes are not copied: they must outlive the statement's steps.
  bool bindText(int index, std::string_view text);
  // Binds a BLOB, also when `bytes` is empty (an empty byte string is a
  // value, not a NULL).
  bool bindBlob(int index, std::string_view bytes);
  bool bindInteger(int index, std::int64_t value);

  // SQLITE_ROW, SQLITE_DONE or an error code.
  int step();

 private:
  sqlite3_stmt* statement_ = nullptr;
};

}  // namespace zelto::defaults
