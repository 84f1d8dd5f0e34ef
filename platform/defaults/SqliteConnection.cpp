#include "platform/defaults/SqliteConnection.hpp"

#include <sqlite3.h>

#include <algorithm>
#include <thread>

namespace zelto::defaults {

namespace {

// How long a connection waits for another process's write to finish. Writes
// are single small statements, so this is generous.
constexpr std::chrono::milliseconds defaultBusyWait{2000};

}  // namespace

// SQLite's busy handler: sleeps a little longer at each attempt (1 ms up to
// 20 ms, so a short write is noticed at once) while the budget lasts.
int waitForBusyDatabase(void* context, int attempt) {
  WaitBudget& budget = *static_cast<SqliteConnection*>(context)->budget_;
  const std::chrono::nanoseconds left = budget.left();
  if (left <= std::chrono::nanoseconds::zero()) return 0;
  const auto pause = std::min<std::chrono::nanoseconds>(std::chrono::milliseconds(std::min(1 << std::min(attempt, 5), 20)), left);
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(pause);
  budget.spend(std::chrono::steady_clock::now() - start);
  return 1;
}

bool isTransientFailure(int resultCode) {
  switch (resultCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_IOERR:
    case SQLITE_PROTOCOL:
    case SQLITE_NOMEM:
      return true;
    default:
      return false;
  }
}

SqliteConnection::SqliteConnection(const std::filesystem::path& path, ConnectionMode mode)
    : path_(path), ownBudget_(defaultBusyWait) {
  const int flags =
      (mode == ConnectionMode::readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
      SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_PRIVATECACHE;
  // Even a failed open returns a handle that carries the error message.
  const int result = sqlite3_open_v2(path.c_str(), &handle_, flags, nullptr);
  isOpen_ = result == SQLITE_OK;
  if (isOpen_) {
    sqlite3_busy_handler(handle_, waitForBusyDatabase, this);
    sqlite3_extended_result_codes(handle_, 0);
  }
}

SqliteConnection::~SqliteConnection() {
  for (const auto& kept : keptStatements_) sqlite3_finalize(kept.second);
  sqlite3_close_v2(handle_);
}

sqlite3_stmt* SqliteConnection::keptStatement(const char* sql) {
  for (const auto& [keptSql, statement] : keptStatements_) {
    if (keptSql == sql) {
      sqlite3_reset(statement);
      sqlite3_clear_bindings(statement);
      return statement;
    }
  }
  if (!isOpen_) return nullptr;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v3(handle_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK) {
    sqlite3_finalize(statement);
    return nullptr;
  }
  keptStatements_.emplace_back(sql, statement);
  return statement;
}

bool SqliteConnection::execute(const char* sql) {
  return isOpen_ && sqlite3_exec(handle_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::string SqliteConnection::errorMessage() const {
  const char* message = handle_ ? sqlite3_errmsg(handle_) : "out of memory";
  return path_.string() + ": " + message;
}

int SqliteConnection::errorCode() const { return handle_ ? sqlite3_errcode(handle_) : SQLITE_NOMEM; }

SqliteStatement::SqliteStatement(SqliteConnection& connection, std::string_view sql) {
  if (!connection.isOpen()) return;
  if (sqlite3_prepare_v2(connection.handle(), sql.data(), static_cast<int>(sql.size()), &statement_, nullptr) !=
      SQLITE_OK) {
    sqlite3_finalize(statement_);
    statement_ = nullptr;
  }
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

bool SqliteStatement::bindText(int index, std::string_view text) {
  // A non-null pointer for empty text too: SQLite binds NULL for a null one.
  return sqlite3_bind_text64(statement_, index, text.empty() ? "" : text.data(), text.size(), SQLITE_STATIC,
                             SQLITE_UTF8) == SQLITE_OK;
}

bool SqliteStatement::bindBlob(int index, std::string_view bytes) {
  if (bytes.empty()) return sqlite3_bind_zeroblob(statement_, index, 0) == SQLITE_OK;
  return sqlite3_bind_blob64(statement_, index, bytes.data(), bytes.size(), SQLITE_STATIC) == SQLITE_OK;
}

bool SqliteStatement::bindInteger(int index, std::int64_t value) {
  return sqlite3_bind_int64(statement_, index, static_cast<sqlite3_int64>(value)) == SQLITE_OK;
}

int SqliteStatement::step() { return statement_ ? sqlite3_step(statement_) : SQLITE_MISUSE; }

}  // namespace zelto::defaults
