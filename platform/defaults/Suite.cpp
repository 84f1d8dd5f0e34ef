#include "platform/defaults/Suite.hpp"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/defaults/ReadConnectionPool.hpp"

namespace zelto::defaults {

struct Suite::Session {
  WaitBudget budget{Suite::busyWait};
  std::mutex mutex;
  // Acquired at the first read and kept for the session's other reads.
  ReadConnectionLease lease;
};

namespace {

constexpr const char* databaseExtension = ".sqlite3";
// The files SQLite keeps beside the database.
constexpr const char* sideFileSuffixes[] = {"-wal", "-shm", "-journal"};

// One row per key. The value column has no declared type, so each value
// keeps the storage class it was written with: BLOB for byte strings,
// INTEGER for integers.
constexpr const char* createTableSql =
    "CREATE TABLE IF NOT EXISTS entries(key TEXT PRIMARY KEY NOT NULL, value) WITHOUT ROWID";
// How SQLite records that table in the schema.
constexpr std::string_view tableSql = "CREATE TABLE entries(key TEXT PRIMARY KEY NOT NULL, value) WITHOUT ROWID";

// The suite holds account names and e-mail addresses: owner only.
constexpr mode_t folderMode = 0700;
constexpr mode_t fileMode = 0600;

std::string systemMessage(int error) { return std::generic_category().message(error); }

SuiteError failure(const std::filesystem::path& path, const std::string& what) {
  return SuiteError{path.string() + ": " + what};
}

// SQLite's most recent failure on `connection`, as busy when trying again
// later may work.
SuiteError sqliteFailure(const SqliteConnection& connection) {
  return SuiteError{connection.errorMessage(), isTransientFailure(connection.errorCode()) ? SuiteError::Kind::busy
                                                                                          : SuiteError::Kind::failed};
}

std::filesystem::path databasePath(const std::string& name, const std::filesystem::path& directory) {
  if (directory.empty() || !isValidSuiteName(name)) return {};
  return directory / (name + databaseExtension);
}

// The folder that holds `path`, "." for a bare file name.
std::filesystem::path folderOf(const std::filesystem::path& path) {
  std::filesystem::path folder = path.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

// Whether a missing database at `path` could be created: the nearest folder
// that exists must be a folder we may create entries in.
std::optional<SuiteError> problemCreating(const std::filesystem::path& path) {
  std::filesystem::path folder = folderOf(path);
  while (true) {
    struct stat status {};
    if (::stat(folder.c_str(), &status) == 0) {
      if (!S_ISDIR(status.st_mode)) return failure(folder, "not a folder");
      if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return failure(path, "cannot be created: " + systemMessage(errno));
      }
      return std::nullopt;
    }
    if (errno != ENOENT && errno != ENOTDIR) return failure(folder, systemMessage(errno));
    std::filesystem::path parent = folderOf(folder);
    if (parent == folder) return failure(folder, systemMessage(ENOENT));
    folder = std::move(parent);
  }
}

// Creates `folder` and any missing parents with mode 0700. Folders that
// already exist keep their mode, except the suites' default folder, which is
// tightened to 0700.
std::optional<SuiteError> ensureFolder(const std::filesystem::path& folder, FolderOrigin origin) {
  // 1. Find the missing folders, innermost first.
  std::vector<std::filesystem::path> missing;
  for (std::filesystem::path current = folder;;) {
    struct stat status {};
    if (::stat(current.c_str(), &status) == 0) {
      if (!S_ISDIR(status.st_mode)) return failure(current, "not a folder");
      if (current == folder && origin == FolderOrigin::defaultFolder && (status.st_mode & 07777) != folderMode &&
          ::chmod(current.c_str(), folderMode) != 0) {
        return failure(current, "cannot make the folder owner-only: " + systemMessage(errno));
      }
      break;
    }
    if (errno != ENOENT) return failure(current, systemMessage(errno));
    missing.push_back(current);
    std::filesystem::path parent = folderOf(current);
    if (parent == current) return failure(current, systemMessage(ENOENT));
    current = std::move(parent);
  }
  // 2. Create them outermost first; chmod undoes whatever the umask removed.
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (::mkdir(it->c_str(), folderMode) == 0) {
      if (::chmod(it->c_str(), folderMode) != 0) return failure(*it, systemMessage(errno));
      continue;
    }
    const int error = errno;
    struct stat status {};
    // Another process may have created it in the meantime.
    if (error != EEXIST || ::stat(it->c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
      return failure(*it, "cannot create the folder: " + systemMessage(error));
    }
  }
  return std::nullopt;
}

// Makes the database and the side files SQLite keeps beside it owner-only.
// SQLite gives a new side file the database's mode, so once the database is
// 0600 only side files left from before need this. A file of another owner
// keeps its mode; the write goes on as far as the file permits.
void restrictToOwner(const std::filesystem::path& path) {
  auto restrict = [](const std::string& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) == 0 && (status.st_mode & 07777) != fileMode) (void)::chmod(file.c_str(), fileMode);
  };
  restrict(path.string());
  for (const char* suffix : sideFileSuffixes) restrict(path.string() + suffix);
}

std::optional<SuiteValue> columnValue(sqlite3_stmt* statement, int column) {
  switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
      return SuiteValue{std::int64_t{sqlite3_column_int64(statement, column)}};
    case SQLITE_BLOB: {
      const void* bytes = sqlite3_column_blob(statement, column);
      const int size = sqlite3_column_bytes(statement, column);
      if (bytes == nullptr || size <= 0) return SuiteValue{std::string()};
      return SuiteValue{std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(size))};
    }
    case SQLITE_TEXT:
    case SQLITE_FLOAT: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
      const int size = sqlite3_column_bytes(statement, column);
      const auto type = sqlite3_column_type(statement, column) == SQLITE_TEXT ? ForeignValue::Type::text
                                                                               : ForeignValue::Type::real;
      return SuiteValue{ForeignValue{type, text ? std::string(text, static_cast<std::size_t>(size)) : std::string()}};
    }
    default:
      return SuiteValue{ForeignValue{}};
  }
}

// Whether the database holds the suite's table and nothing else (or nothing
// at all): a SQLite database of another program is not a suite. nullopt when
// the schema could not be read.
std::optional<bool> holdsOnlyTheSuite(SqliteConnection& connection) {
  SqliteStatement statement(connection, "SELECT type, name, sql FROM sqlite_schema");
  if (!statement.isPrepared()) return std::nullopt;
  int step = SQLITE_ROW;
  while ((step = statement.step()) == SQLITE_ROW) {
    auto column = [&](int index) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement.handle(), index));
      return std::string_view(text ? text : "");
    };
    if (column(0) != "table" || column(1) != "entries" || column(2) != tableSql) return false;
  }
  if (step != SQLITE_DONE) return std::nullopt;
  return true;
}

// The one statement every read runs; kept prepared per connection.
constexpr const char* valueSql = "SELECT value FROM entries WHERE key = ?1";

const char* const notASuite = "not a Zelto Limits suite (a SQLite database of another program)";

// Runs `body` inside one immediate transaction on a connection that may
// create the database. `body` returns false when its statement failed.
template <class Body>
std::optional<SuiteError> writeInTransaction(const std::filesystem::path& path, FolderOrigin origin,
                                             WaitBudget& budget, const Body& body) {
  if (path.empty()) return SuiteError{"the suite has no usable folder or name"};
  if (auto problem = ensureFolder(folderOf(path), origin)) return problem;

  // 1. Create a missing database ourselves, owner-only from its first byte
  // (an existing one is made owner-only once it proves to be a suite),
  // so that a failed write can tell the empty file it made from one that
  // another process made.
  bool created = false;
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0) {
    if (!S_ISREG(status.st_mode)) return failure(path, "not a regular file");
  } else if (errno != ENOENT) {
    return failure(path, systemMessage(errno));
  } else {
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, fileMode);
    if (file >= 0) {
      created = true;
      ::close(file);
    } else if (errno != EEXIST) {
      return failure(path, "cannot be created: " + systemMessage(errno));
    }
  }

  // 2-3. One attempt; SQLite answers "locked" at once, without waiting,
  // where waiting could deadlock (two connections upgrading their locks, or
  // switching a new database's journal mode together), so a busy attempt is
  // tried again from the start while the wait budget lasts.
  bool contended = false;  // the last attempt met another connection's lock
  auto attempt = [&]() -> std::optional<SuiteError> {
    std::optional<SuiteError> error;
    SqliteConnection connection(path, ConnectionMode::readWriteCreate);
    connection.waitFrom(budget);
    int code = SQLITE_OK;
    auto record = [&] {
      error = sqliteFailure(connection);
      code = connection.errorCode() & 0xff;
    };
    auto fail = [&] {
      record();
      connection.execute("ROLLBACK");
    };
    // 2. Only a suite or an empty database is written to; reading the
    // schema first leaves any other file exactly as it was (switching the
    // journal mode below rewrites the header).
    const std::optional<bool> isSuite = connection.isOpen() ? holdsOnlyTheSuite(connection) : std::nullopt;
    if (!isSuite) {
      record();
    } else if (!*isSuite) {
      error = failure(path, notASuite);
    } else {
      restrictToOwner(path);
      // 3. A write-ahead log, so that readers never wait for a writer. It
      // and its index stay on disk after the last connection closes, so
      // that a reader that may not create files beside the database still
      // opens it; the log is emptied when it is checkpointed. Commits are
      // atomic either way; with synchronous=NORMAL a power cut may lose the
      // last commit, never the database, and a write costs no fsync.
      int persist = 1;
      sqlite3_file_control(connection.handle(), "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
      if (!connection.execute("PRAGMA journal_mode=WAL; PRAGMA journal_size_limit=0; PRAGMA synchronous=NORMAL") ||
          !connection.execute("BEGIN IMMEDIATE")) {
        record();
      } else if (!connection.execute(createTableSql) || !body(connection) || !connection.execute("COMMIT")) {
        fail();
      }
    }
    contended = error && (code == SQLITE_BUSY || code == SQLITE_LOCKED);
    return error;
  };
  std::optional<SuiteError> error = attempt();
  while (contended && budget.left() > std::chrono::nanoseconds::zero()) {
    const auto pause = std::min<std::chrono::nanoseconds>(std::chrono::milliseconds(5), budget.left());
    std::this_thread::sleep_for(pause);
    budget.spend(pause);
    error = attempt();
  }
  // 4. A file this write created and left empty goes again, with whatever
  // SQLite put beside it; not when another process held it, for that one
  // may be using the new database.
  if (error && !contended && created && ::stat(path.c_str(), &status) == 0 && status.st_size == 0) {
    ::unlink(path.c_str());
    for (const char* suffix : sideFileSuffixes) ::unlink((path.string() + suffix).c_str());
  }
  return error;
}

// A value to store, without copying its bytes.
using ValueToStore = std::variant<std::string_view, std::int64_t>;

bool upsert(SqliteConnection& connection, std::string_view key, const ValueToStore& value) {
  SqliteStatement statement(connection,
                            "INSERT INTO entries(key, value) VALUES(?1, ?2) "
                            "ON CONFLICT(key) DO UPDATE SET value = excluded.value");
  if (!statement.isPrepared() || !statement.bindText(1, key)) return false;
  const bool bound = std::holds_alternative<std::int64_t>(value)
                         ? statement.bindInteger(2, std::get<std::int64_t>(value))
                         : statement.bindBlob(2, std::get<std::string_view>(value));
  return bound && statement.step() == SQLITE_DONE;
}

// Runs `read` on the session's kept connection. A database that is missing,
// not SQLite or not a suite reads as `absent`; a busy one as SuiteBusy.
template <class T, class Read>
SuiteRead<T> readInSession(Suite::Session& session, const std::filesystem::path& path, T absent, const Read& read) {
  if (path.empty()) return absent;
  std::lock_guard lock(session.mutex);
  if (!session.lease) session.lease = acquireReadConnection(path);
  SqliteConnection* connection = session.lease.get();
  if (!connection) return absent;
  connection->waitFrom(session.budget);
  std::optional<T> found = read(*connection);
  connection->waitFromOwnBudget();
  if (found) return std::move(*found);
  if (isTransientFailure(connection->errorCode())) return SuiteBusy{connection->errorMessage()};
  return absent;
}

}  // namespace

Suite::Suite(std::filesystem::path path, bool fallback, FolderOrigin origin)
    : path_(std::move(path)), fallback_(fallback), origin_(origin), session_(std::make_shared<Session>()) {}

Suite Suite::open(const std::string& name, const SuiteLocation& location) {
  const std::filesystem::path path = databasePath(name, location.directory);
  struct stat status {};
  const SuiteAccess access = !path.empty() && ::stat(path.c_str(), &status) == 0 ? SuiteAccess::read
                                                                                  : SuiteAccess::write;
  if (problemOpening(name, location, access)) return Suite(standard(location).path_, true, location.origin);
  return Suite(path, false, location.origin);
}

Suite Suite::standard(const SuiteLocation& location) {
  return Suite(databasePath(location.standardSuiteName, location.directory), false, location.origin);
}

std::optional<SuiteError> Suite::problemOpening(const std::string& name, const SuiteLocation& location,
                                                SuiteAccess access) {
  if (!isValidSuiteName(name)) {
    return SuiteError{"invalid suite name \"" + name + "\": it must be one file name of at most " +
                      std::to_string(maximumSuiteNameLength) + " bytes (not empty, not . or .., no / or NUL)"};
  }
  if (location.directory.empty()) return SuiteError{"no folder for the suite"};
  const std::filesystem::path path = databasePath(name, location.directory);
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    // ENOTDIR: a file stands where a folder should; problemCreating names it.
    if (errno != ENOENT && errno != ENOTDIR) return failure(path, systemMessage(errno));
    // A missing database reads as empty, unless something that is not a
    // folder stands in the way.
    std::optional<SuiteError> problem = problemCreating(path);
    if (access == SuiteAccess::read && problem && problem->message.find("not a folder") == std::string::npos) {
      return std::nullopt;
    }
    return problem;
  }
  if (S_ISDIR(status.st_mode)) return failure(path, "a folder, not a database");
  if (!S_ISREG(status.st_mode)) return failure(path, "not a regular file");
  if (::access(path.c_str(), R_OK) != 0) return failure(path, "cannot be read: " + systemMessage(errno));
  if (access == SuiteAccess::write && ::access(path.c_str(), W_OK) != 0) {
    return failure(path, "cannot be written: " + systemMessage(errno));
  }
  return std::nullopt;
}

SuiteRead<std::optional<std::string>> Suite::data(std::string_view key) const {
  auto stored = value(key);
  if (stored.isBusy()) return stored.busy();
  if (!stored.value() || !std::holds_alternative<std::string>(*stored.value())) return std::optional<std::string>();
  return std::optional(std::get<std::string>(*std::move(stored).value()));
}

SuiteRead<std::optional<std::int64_t>> Suite::integer(std::string_view key) const {
  auto stored = value(key);
  if (stored.isBusy()) return stored.busy();
  if (!stored.value() || !std::holds_alternative<std::int64_t>(*stored.value())) return std::optional<std::int64_t>();
  return std::optional(std::get<std::int64_t>(*stored.value()));
}

SuiteRead<std::optional<SuiteValue>> Suite::value(std::string_view key) const {
  using Found = std::optional<SuiteValue>;
  // Read-only: a missing database is not created, and a foreign or damaged
  // file fails to prepare or step and is left alone.
  return readInSession(*session_, path_, Found(), [&](SqliteConnection& connection) -> std::optional<Found> {
    // Kept prepared with the pooled connection: preparing costs as much as
    // the read.
    sqlite3_stmt* statement = connection.keptStatement(valueSql);
    if (!statement || sqlite3_bind_text64(statement, 1, key.empty() ? "" : key.data(), key.size(), SQLITE_STATIC,
                                          SQLITE_UTF8) != SQLITE_OK) {
      return std::nullopt;
    }
    const int step = sqlite3_step(statement);
    std::optional<Found> found;
    if (step == SQLITE_DONE) found = Found();
    if (step == SQLITE_ROW) found = Found(columnValue(statement, 0));
    // Ends the read transaction, so that a kept connection holds no snapshot.
    sqlite3_reset(statement);
    return found;
  });
}

SuiteRead<std::vector<SuiteEntry>> Suite::entries() const {
  using Found = std::vector<SuiteEntry>;
  return readInSession(*session_, path_, Found(), [&](SqliteConnection& connection) -> std::optional<Found> {
    SqliteStatement statement(connection, "SELECT key, value FROM entries ORDER BY key");
    if (!statement.isPrepared()) return std::nullopt;
    Found result;
    int step = SQLITE_ROW;
    while ((step = statement.step()) == SQLITE_ROW) {
      const auto* key = reinterpret_cast<const char*>(sqlite3_column_text(statement.handle(), 0));
      const int size = sqlite3_column_bytes(statement.handle(), 0);
      result.push_back({key ? std::string(key, static_cast<std::size_t>(size)) : std::string(),
                        *columnValue(statement.handle(), 1)});
    }
    // A database that turns out damaged part way reads as empty, not as a
    // partial list.
    if (step != SQLITE_DONE) return std::nullopt;
    return result;
  });
}

std::optional<SuiteError> Suite::checkReadable() const {
  if (path_.empty()) return SuiteError{"the suite has no usable folder or name"};
  struct stat status {};
  if (::stat(path_.c_str(), &status) != 0) {
    if (errno == ENOENT) return std::nullopt;
    return failure(path_, systemMessage(errno));
  }
  if (!S_ISREG(status.st_mode)) return failure(path_, "not a regular file");
  SqliteConnection connection(path_, ConnectionMode::readOnly);
  connection.waitFrom(session_->budget);
  if (!connection.isOpen()) return sqliteFailure(connection);
  const std::optional<bool> isSuite = holdsOnlyTheSuite(connection);
  if (!isSuite) return sqliteFailure(connection);
  if (!*isSuite) return failure(path_, notASuite);
  SqliteStatement check(connection, "PRAGMA quick_check(1)");
  if (!check.isPrepared() || check.step() != SQLITE_ROW) return sqliteFailure(connection);
  const auto* verdict = reinterpret_cast<const char*>(sqlite3_column_text(check.handle(), 0));
  if (verdict == nullptr || std::string_view(verdict) != "ok") {
    return failure(path_, std::string("damaged: ") + (verdict ? verdict : "unknown problem"));
  }
  return std::nullopt;
}

std::optional<SuiteError> Suite::setData(std::string_view key, std::string_view bytes) const {
  return writeInTransaction(path_, origin_, session_->budget, [&](SqliteConnection& connection) {
    return upsert(connection, key, ValueToStore{bytes});
  });
}

std::optional<SuiteError> Suite::setInteger(std::string_view key, std::int64_t value) const {
  return writeInTransaction(path_, origin_, session_->budget, [&](SqliteConnection& connection) {
    return upsert(connection, key, ValueToStore{value});
  });
}

std::optional<SuiteError> Suite::remove(std::string_view key, bool* removed) const {
  if (removed) *removed = false;
  if (path_.empty()) return SuiteError{"the suite has no usable folder or name"};
  // Nothing to remove from a database that does not exist; create none.
  struct stat status {};
  if (::stat(path_.c_str(), &status) != 0 && errno == ENOENT) return std::nullopt;
  return writeInTransaction(path_, origin_, session_->budget, [&](SqliteConnection& connection) {
    SqliteStatement statement(connection, "DELETE FROM entries WHERE key = ?1");
    if (!statement.isPrepared() || !statement.bindText(1, key) || statement.step() != SQLITE_DONE) return false;
    if (removed) *removed = sqlite3_changes(connection.handle()) > 0;
    return true;
  });
}

}  // namespace zelto::defaults
