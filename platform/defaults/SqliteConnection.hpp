#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace zelto::defaults {

enum class ConnectionMode {
  // Never creates the file and never writes to it.
  readOnly,
  // Creates the file when missing.
  readWriteCreate,
};

// How long a connection may still wait for a busy database before it reports
// it busy. One request shares one budget across all its reads and writes, so
// that it waits at most 2 s in total, however many keys it touches. Safe to
// share between threads.
class WaitBudget {
 public:
  explicit WaitBudget(std::chrono::nanoseconds total) : left_(total.count()) {}
  std::chrono::nanoseconds left() const { return std::chrono::nanoseconds(left_.load()); }
  void spend(std::chrono::nanoseconds spent) { left_.fetch_sub(spent.count()); }

 private:
  std::atomic<std::int64_t> left_;
};

// Whether a failure of SQLite means "could not do it now" (another process
// holds a lock, or the disk failed) rather than "there is nothing usable".
bool isTransientFailure(int resultCode);

// One connection to a suite's database, closed when it goes out of scope.
// A connection waits for a busy database until its deadline, so that two
// processes sharing a suite take turns.
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

  // Waits for a busy database out of `budget` (which must outlive the
  // connection's statements) instead of the connection's own 2 s.
  void waitFrom(WaitBudget& budget) { budget_ = &budget; }
  void waitFromOwnBudget() { budget_ = &ownBudget_; }

  // Runs statements that return no rows; false when one fails.
  bool execute(const char* sql);

  // A statement prepared once and kept with the connection, reset and with
  // its bindings cleared; null when it cannot be prepared (then nothing is
  // kept). Kept statements are finalized before the connection closes.
  sqlite3_stmt* keptStatement(const char* sql);

  // The most recent failure: "<path>: <what SQLite said>".
  std::string errorMessage() const;
  // SQLite's primary result code of the most recent failure.
  int errorCode() const;

 private:
  sqlite3* handle_ = nullptr;
  bool isOpen_ = false;
  std::filesystem::path path_;
  WaitBudget ownBudget_;
  std::vector<std::pair<const char*, sqlite3_stmt*>> keptStatements_;
  WaitBudget* budget_ = &ownBudget_;
  friend int waitForBusyDatabase(void* connection, int attempt);
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
