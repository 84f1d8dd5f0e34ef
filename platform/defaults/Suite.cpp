#include "platform/defaults/Suite.hpp"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/defaults/ReadConnectionPool.hpp"
#include "platform/defaults/SqliteConnection.hpp"

namespace zelto::defaults {

namespace {

constexpr const char* databaseExtension = ".sqlite3";

// One row per key. The value column has no declared type, so each value
// keeps the storage class it was written with: BLOB for byte strings,
// INTEGER for integers.
constexpr const char* createTableSql =
    "CREATE TABLE IF NOT EXISTS entries(key TEXT PRIMARY KEY NOT NULL, value) WITHOUT ROWID";

// The suite holds account names and e-mail addresses: owner only.
constexpr mode_t folderMode = 0700;
constexpr mode_t fileMode = 0600;

std::string systemMessage(int error) { return std::generic_category().message(error); }

SuiteError failure(const std::filesystem::path& path, const std::string& what) {
  return SuiteError{path.string() + ": " + what};
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
    if (errno != ENOENT) return failure(folder, systemMessage(errno));
    std::filesystem::path parent = folderOf(folder);
    if (parent == folder) return failure(folder, systemMessage(ENOENT));
    folder = std::move(parent);
  }
}

// Creates `folder` and any missing parents with mode 0700. Folders that
// already exist keep their mode.
std::optional<SuiteError> ensureFolder(const std::filesystem::path& folder) {
  // 1. Find the missing folders, innermost first.
  std::vector<std::filesystem::path> missing;
  for (std::filesystem::path current = folder;;) {
    struct stat status {};
    if (::stat(current.c_str(), &status) == 0) {
      if (!S_ISDIR(status.st_mode)) return failure(current, "not a folder");
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
    default:
      // TEXT, REAL and NULL are not values of this suite.
      return std::nullopt;
  }
}

// Runs `body` inside one immediate transaction on a connection that may
// create the database. `body` returns false when its statement failed.
template <class Body>
std::optional<SuiteError> writeInTransaction(const std::filesystem::path& path, const Body& body) {
  if (path.empty()) return SuiteError{"the suite has no usable folder or name"};
  if (auto problem = ensureFolder(folderOf(path))) return problem;

  struct stat status {};
  const bool existed = ::stat(path.c_str(), &status) == 0;
  if (!existed && errno != ENOENT) return failure(path, systemMessage(errno));
  if (existed && !S_ISREG(status.st_mode)) return failure(path, "not a regular file");

  SqliteConnection connection(path, ConnectionMode::readWriteCreate);
  if (!connection.isOpen()) return SuiteError{connection.errorMessage()};
  // SQLite creates the file with 0644 less the umask; tighten it before the
  // first byte is written. The journal file copies this mode.
  if (!existed && ::chmod(path.c_str(), fileMode) != 0) return failure(path, systemMessage(errno));

  // A rollback journal, not a write-ahead log: every call opens the database
  // anew, and a fresh connection to a WAL database must rebuild its
  // shared-memory index first, which costs several times the read itself
  // and fails in a folder the reader may not write. With the rollback
  // journal a reader still sees the old value or the new one, never a mix:
  // the writer commits under an exclusive lock that readers wait out.
  // Setting the journal mode reads the header first, so a file that is not
  // a SQLite database fails here untouched.
  if (!connection.execute("PRAGMA journal_mode=DELETE") || !connection.execute("BEGIN IMMEDIATE")) {
    return SuiteError{connection.errorMessage()};
  }
  if (!connection.execute(createTableSql) || !body(connection)) {
    SuiteError error{connection.errorMessage()};
    connection.execute("ROLLBACK");
    return error;
  }
  if (!connection.execute("COMMIT")) {
    SuiteError error{connection.errorMessage()};
    connection.execute("ROLLBACK");
    return error;
  }
  return std::nullopt;
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

}  // namespace

Suite Suite::open(const std::string& name, const SuiteLocation& location) {
  if (problemOpening(name, location)) return Suite(standard(location).path_, true);
  return Suite(databasePath(name, location.directory), false);
}

Suite Suite::standard(const SuiteLocation& location) {
  return Suite(databasePath(location.standardSuiteName, location.directory), false);
}

std::optional<SuiteError> Suite::problemOpening(const std::string& name, const SuiteLocation& location) {
  if (!isValidSuiteName(name)) return SuiteError{"invalid suite name \"" + name + "\""};
  if (location.directory.empty()) return SuiteError{"no folder for the suite"};
  const std::filesystem::path path = databasePath(name, location.directory);
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    // ENOTDIR: a file stands where a folder should; problemCreating names it.
    if (errno == ENOENT || errno == ENOTDIR) return problemCreating(path);
    return failure(path, systemMessage(errno));
  }
  if (S_ISDIR(status.st_mode)) return failure(path, "a folder, not a database");
  if (!S_ISREG(status.st_mode)) return failure(path, "not a regular file");
  if (::access(path.c_str(), R_OK) != 0) return failure(path, "cannot be read: " + systemMessage(errno));
  return std::nullopt;
}

std::optional<std::string> Suite::data(std::string_view key) const {
  std::optional<SuiteValue> stored = value(key);
  if (!stored || !std::holds_alternative<std::string>(*stored)) return std::nullopt;
  return std::get<std::string>(std::move(*stored));
}

std::optional<std::int64_t> Suite::integer(std::string_view key) const {
  std::optional<SuiteValue> stored = value(key);
  if (!stored || !std::holds_alternative<std::int64_t>(*stored)) return std::nullopt;
  return std::get<std::int64_t>(*stored);
}

std::optional<SuiteValue> Suite::value(std::string_view key) const {
  if (path_.empty()) return std::nullopt;
  // Read-only: a missing database is not created, and a foreign or damaged
  // file fails to prepare or step and is left alone.
  const PooledReadConnection connection = acquireReadConnection(path_);
  if (!connection) return std::nullopt;
  SqliteStatement statement(*connection.get(), "SELECT value FROM entries WHERE key = ?1");
  if (!statement.isPrepared() || !statement.bindText(1, key) || statement.step() != SQLITE_ROW) return std::nullopt;
  return columnValue(statement.handle(), 0);
}

std::vector<SuiteEntry> Suite::entries() const {
  std::vector<SuiteEntry> result;
  if (path_.empty()) return result;
  const PooledReadConnection connection = acquireReadConnection(path_);
  if (!connection) return result;
  SqliteStatement statement(*connection.get(), "SELECT key, value FROM entries ORDER BY key");
  if (!statement.isPrepared()) return result;
  int step = SQLITE_ROW;
  while ((step = statement.step()) == SQLITE_ROW) {
    std::optional<SuiteValue> value = columnValue(statement.handle(), 1);
    if (!value) continue;
    const auto* key = reinterpret_cast<const char*>(sqlite3_column_text(statement.handle(), 0));
    const int size = sqlite3_column_bytes(statement.handle(), 0);
    result.push_back({key ? std::string(key, static_cast<std::size_t>(size)) : std::string(), std::move(*value)});
  }
  // A database that turns out damaged part way reads as empty, not as a
  // partial list.
  if (step != SQLITE_DONE) result.clear();
  return result;
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
  if (!connection.isOpen()) return SuiteError{connection.errorMessage()};
  SqliteStatement check(connection, "PRAGMA quick_check(1)");
  if (!check.isPrepared()) return SuiteError{connection.errorMessage()};
  if (check.step() != SQLITE_ROW) return SuiteError{connection.errorMessage()};
  const auto* verdict = reinterpret_cast<const char*>(sqlite3_column_text(check.handle(), 0));
  if (verdict == nullptr || std::string_view(verdict) != "ok") {
    return failure(path_, std::string("damaged: ") + (verdict ? verdict : "unknown problem"));
  }
  return std::nullopt;
}

std::optional<SuiteError> Suite::setData(std::string_view key, std::string_view bytes) const {
  return writeInTransaction(path_,
                            [&](SqliteConnection& connection) { return upsert(connection, key, ValueToStore{bytes}); });
}

std::optional<SuiteError> Suite::setInteger(std::string_view key, std::int64_t value) const {
  return writeInTransaction(path_,
                            [&](SqliteConnection& connection) { return upsert(connection, key, ValueToStore{value}); });
}

std::optional<SuiteError> Suite::remove(std::string_view key, bool* removed) const {
  if (removed) *removed = false;
  if (path_.empty()) return SuiteError{"the suite has no usable folder or name"};
  // Nothing to remove from a database that does not exist; create none.
  struct stat status {};
  if (::stat(path_.c_str(), &status) != 0 && errno == ENOENT) return std::nullopt;
  return writeInTransaction(path_, [&](SqliteConnection& connection) {
    SqliteStatement statement(connection, "DELETE FROM entries WHERE key = ?1");
    if (!statement.isPrepared() || !statement.bindText(1, key) || statement.step() != SQLITE_DONE) return false;
    if (removed) *removed = sqlite3_changes(connection.handle()) > 0;
    return true;
  });
}

}  // namespace zelto::defaults
