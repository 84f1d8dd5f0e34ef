#pragma once

#include "platform/defaults/SqliteConnection.hpp"
#include "platform/defaults/SuiteLocation.hpp"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zelto::defaults {

// A value some other program stored with a type the widget never reads
// (SQLite's TEXT, REAL or NULL). The widget's typed reads treat it as
// absent; the suite's tool shows it with its type.
struct ForeignValue {
  enum class Type { text, real, null };
  Type type = Type::null;
  // The text, or the number as SQLite writes it; empty for NULL.
  std::string text;
  bool operator==(const ForeignValue&) const = default;
};

// A stored value: a byte string, a 64-bit integer, or a foreign value.
using SuiteValue = std::variant<std::string, std::int64_t, ForeignValue>;

struct SuiteEntry {
  std::string key;
  SuiteValue value;
  bool operator==(const SuiteEntry&) const = default;
};

// Why a write did not happen, or why the suite cannot be used.
struct SuiteError {
  enum class Kind {
    // Nothing will change by trying again: a bad name or folder, a file that
    // is not a suite, a full disk.
    failed,
    // Another process held the suite past the wait, or the disk reported an
    // I/O error: trying again later may work.
    busy,
  };
  std::string message;
  Kind kind = Kind::failed;
  bool isBusy() const { return kind == Kind::busy; }
};

// "Could not read now": the suite is held by another process past the wait,
// or an I/O error stopped the read. Not the same as finding nothing.
struct SuiteBusy {
  std::string message;
};

// The outcome of a read: what was found (T says how absence looks), or
// SuiteBusy when the read could not complete now.
template <class T>
class SuiteRead {
 public:
  SuiteRead(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  SuiteRead(SuiteBusy busy) : state_(std::in_place_index<1>, std::move(busy)) {}

  bool isBusy() const { return state_.index() == 1; }
  const SuiteBusy& busy() const { return std::get<1>(state_); }
  // What the read found; only when !isBusy().
  const T& value() const& { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }

  // A read equals a value when it completed and found that value.
  friend bool operator==(const SuiteRead& read, const T& found) { return !read.isBusy() && read.value() == found; }

 private:
  std::variant<T, SuiteBusy> state_;
};

// What the caller is about to do with a suite, for the checks of
// Suite::problemOpening.
enum class SuiteAccess { read, write };

// A user-defaults-like key-value suite shared between processes, kept in one
// SQLite database per suite with a write-ahead log: readers never wait for a
// writer, and see the old value or the new one, never a mix. One Suite value
// stands for one request: its reads share one kept read-only connection, and
// all its reads and writes share one wait of at most 2 s for a suite that
// another process holds, so a request kept waiting gives up once, however
// many keys it touches. Writes go through a connection of their own.
class Suite {
 public:
  // How long one request may wait for a suite that another process holds.
  static constexpr std::chrono::milliseconds busyWait{2000};

  // Opens the suite `name` in `location`. When the name is refused
  // (isValidSuiteName) or its database cannot be opened or created, the
  // process's standard suite in the same folder is used instead, silently.
  static Suite open(const std::string& name, const SuiteLocation& location);

  // The process's standard suite. Without a folder or with an invalid
  // standard name it has no file: reads find nothing and writes fail.
  static Suite standard(const SuiteLocation& location);

  // Why the suite `name` cannot be used for `access`: an invalid name, no
  // folder, something in the way of the folder, a database path that is not
  // a regular file or cannot be read (or written, or created, for writes).
  // A missing database is fine for reads: it reads as empty. nullopt when the
  // suite can be used. open() falls back to the standard suite exactly when
  // this finds a problem (for writes when the database does not exist yet).
  static std::optional<SuiteError> problemOpening(const std::string& name, const SuiteLocation& location,
                                                  SuiteAccess access);

  // The file this suite reads and writes.
  const std::filesystem::path& path() const { return path_; }
  // Whether open() fell back to the standard suite.
  bool isFallback() const { return fallback_; }

  // Typed reads: a missing key, a value of another type, or a database that
  // is missing, not SQLite or damaged all read as nullopt. A
  // read never creates, modifies or deletes the database file.
  SuiteRead<std::optional<std::string>> data(std::string_view key) const;
  SuiteRead<std::optional<std::int64_t>> integer(std::string_view key) const;
  SuiteRead<std::optional<SuiteValue>> value(std::string_view key) const;
  // Every entry, foreign values included, ordered by key bytes; empty when
  // the database cannot be read.
  SuiteRead<std::vector<SuiteEntry>> entries() const;
  // Why reads come back empty, for tools that explain it: nullopt when the
  // database is readable or does not exist yet, else the reason (not a
  // SQLite database, not a suite, damaged, unreadable, busy). Reads only.
  std::optional<SuiteError> checkReadable() const;

  // Atomic per-key writes, one transaction each. Missing folders are created
  // with mode 0700, and the suites' default folder is kept at 0700; the
  // database and its side files are made 0600, whatever the umask and
  // whatever mode they had. A file that is not a SQLite database, or a SQLite
  // database that holds other tables, is left exactly as it is and the write
  // fails. A database file the write created is removed again when it fails.
  std::optional<SuiteError> setData(std::string_view key, std::string_view bytes) const;
  std::optional<SuiteError> setInteger(std::string_view key, std::int64_t value) const;
  // Removing a missing key is not an error; `removed` tells whether one was.
  // Creates nothing when the database does not exist.
  std::optional<SuiteError> remove(std::string_view key, bool* removed = nullptr) const;

  // The state one request's reads share.
  struct Session;

 private:
  Suite(std::filesystem::path path, bool fallback, FolderOrigin origin);
  std::filesystem::path path_;
  bool fallback_ = false;
  FolderOrigin origin_ = FolderOrigin::namedByUser;
  std::shared_ptr<Session> session_;
};

}  // namespace zelto::defaults
