#pragma once

#include <filesystem>
#include <memory>
#include <mutex>

#include "platform/defaults/SqliteConnection.hpp"

namespace zelto::defaults {

// Read-only connections kept open between reads of the same database, the
// way a platform's defaults service keeps its stores at hand: opening SQLite
// afresh (file identity, locks, schema) costs many times the read itself.
// Reads stay exact: SQLite checks the database's change counter at the start
// of every read transaction and drops what it had cached when another
// connection or process wrote in between. A connection is used by one
// thread at a time, and opened anew when the file at the path was replaced
// or removed, or in a child process after fork().
class PooledReadConnection {
 public:
  // The open connection, or null when the database cannot be opened (for
  // example because it does not exist).
  SqliteConnection* get() const { return connection_; }
  explicit operator bool() const { return connection_ != nullptr; }

  // The pool's entry for one database (defined where the pool lives).
  struct Slot;

 private:
  friend PooledReadConnection acquireReadConnection(const std::filesystem::path& path);
  std::shared_ptr<Slot> slot_;
  std::unique_lock<std::mutex> lock_;
  SqliteConnection* connection_ = nullptr;
};

// The pooled read-only connection to the database at `path`, held
// exclusively until the returned value goes out of scope.
PooledReadConnection acquireReadConnection(const std::filesystem::path& path);

}  // namespace zelto::defaults
