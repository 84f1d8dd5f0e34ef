#pragma once

#include "platform/defaults/SuiteLocation.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zelto::defaults {

// A stored value: a byte string or a 64-bit integer.
using SuiteValue = std::variant<std::string, std::int64_t>;

struct SuiteEntry {
  std::string key;
  SuiteValue value;
  bool operator==(const SuiteEntry&) const = default;
};

// Why a write did not happen.
struct SuiteError {
  std::string message;
};

// A user-defaults-like key-value suite shared between processes, kept in one
// SQLite database per suite (rollback journal, busy timeout, one transaction
// per write). A reader in another process sees the old value or the new one,
// never a mix. Opening is lazy and cheap. Every read sees what is stored at
// that moment: reads go through a kept read-only connection that SQLite
// revalidates at each read, writes through a connection of their own.
class Suite {
 public:
  // Opens the suite `name` in `location`. When the name is refused
  // (isValidSuiteName) or its database cannot be opened or created, the
  // process's standard suite in the same folder is used instead, silently.
  static Suite open(const std::string& name, const SuiteLocation& location);

  // The process's standard suite. Without a folder or with an invalid
  // standard name it has no file: reads find nothing and writes fail.
  static Suite standard(const SuiteLocation& location);

  // Why open() would refuse the suite `name` and use the standard suite
  // instead: an invalid name, no folder, a database path that is not a
  // regular file or cannot be read, or a missing database that cannot be
  // created. nullopt when the suite can be used.
  static std::optional<SuiteError> problemOpening(const std::string& name, const SuiteLocation& location);

  // The file this suite reads and writes.
  const std::filesystem::path& path() const { return path_; }
  // Whether open() fell back to the standard suite.
  bool isFallback() const { return fallback_; }

  // Typed reads: a missing key, a value of the other type, or a database
  // that is missing, not SQLite or damaged all read as nullopt. A read never
  // creates, modifies or deletes the database file.
  std::optional<std::string> data(std::string_view key) const;
  std::optional<std::int64_t> integer(std::string_view key) const;
  std::optional<SuiteValue> value(std::string_view key) const;
  // Every entry of the two value types, ordered by key bytes; empty when the
  // database cannot be read.
  std::vector<SuiteEntry> entries() const;
  // Why reads come back empty, for tools that explain it: nullopt when the
  // database is readable or does not exist yet, else the reason (not a
  // SQLite database, damaged, unreadable). Reads only.
  std::optional<SuiteError> checkReadable() const;

  // Atomic per-key writes, one transaction each. Missing folders are created
  // with mode 0700 and a missing database file with 0600, whatever the
  // umask. A file that is not a SQLite database is left as it is and the
  // write fails.
  std::optional<SuiteError> setData(std::string_view key, std::string_view bytes) const;
  std::optional<SuiteError> setInteger(std::string_view key, std::int64_t value) const;
  // Removing a missing key is not an error; `removed` tells whether one was.
  // Creates nothing when the database does not exist.
  std::optional<SuiteError> remove(std::string_view key, bool* removed = nullptr) const;

 private:
  Suite(std::filesystem::path path, bool fallback) : path_(std::move(path)), fallback_(fallback) {}
  std::filesystem::path path_;
  bool fallback_ = false;
};

}  // namespace zelto::defaults
