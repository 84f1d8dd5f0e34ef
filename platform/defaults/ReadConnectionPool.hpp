#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/defaults/SqliteConnection.hpp"

namespace zelto::defaults {

// Read-only connections kept open between reads of the same database, the
// way a platform's defaults service keeps its stores at hand: opening SQLite
// afresh (file identity, locks, schema, the write-ahead log's index) costs
// many times the read itself. Reads stay exact: SQLite checks the database's
// change counter at the start of every read transaction and drops what it
// had cached when another connection or process wrote in between.
//
// A lease holds one connection exclusively and gives it back to the pool
// when it goes out of scope; several threads reading the same database each
// get a connection of their own. A kept connection is closed instead of
// reused when the file at the path was replaced or removed, and never used
// in a child process after fork().
class ReadConnectionLease {
 public:
  // A pooled connection and the file it has open, with the process that
  // opened it.
  struct Kept {
    std::unique_ptr<SqliteConnection> connection;
    dev_t device = 0;
    ino_t inode = 0;
    pid_t process = 0;
  };

  ReadConnectionLease() = default;
  ReadConnectionLease(ReadConnectionLease&&) noexcept = default;
  ReadConnectionLease& operator=(ReadConnectionLease&&) noexcept = default;
  ~ReadConnectionLease();

  // The open connection, or null when the database cannot be opened (for
  // example because it does not exist).
  SqliteConnection* get() const { return connection_ ? connection_->connection.get() : nullptr; }
  explicit operator bool() const { return get() != nullptr; }

 private:
  friend ReadConnectionLease acquireReadConnection(const std::filesystem::path& path);
  std::string path_;
  std::unique_ptr<Kept> connection_;
};

// A read-only connection to the database at `path`, from the pool when one
// is free. Nothing is created when the database does not exist.
ReadConnectionLease acquireReadConnection(const std::filesystem::path& path);

}  // namespace zelto::defaults
