#include "platform/defaults/ReadConnectionPool.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace zelto::defaults {

namespace {

using Kept = ReadConnectionLease::Kept;

std::mutex poolMutex;

// The free connections of each database path.
std::unordered_map<std::string, std::vector<std::unique_ptr<Kept>>>& freeConnections() {
  // Never destroyed: connections may still be in use while the process exits.
  static auto* instance = new std::unordered_map<std::string, std::vector<std::unique_ptr<Kept>>>();
  return *instance;
}

// Lets go of a connection that cannot be reused. One opened by a parent
// process must be neither used nor closed here: it belongs to the parent's
// locks and file descriptors.
void discard(std::unique_ptr<Kept> kept) {
  if (kept->process != ::getpid()) (void)kept->connection.release();
}

}  // namespace

ReadConnectionLease::~ReadConnectionLease() {
  if (!connection_) return;
  std::lock_guard lock(poolMutex);
  freeConnections()[path_].push_back(std::move(connection_));
}

ReadConnectionLease acquireReadConnection(const std::filesystem::path& path) {
  ReadConnectionLease lease;
  struct stat status {};
  // A missing file reads as empty; nothing is created.
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return lease;
  lease.path_ = path.string();

  // 1. A free connection to this very file, made by this process.
  std::vector<std::unique_ptr<Kept>> stale;
  {
    std::lock_guard lock(poolMutex);
    auto& free = freeConnections()[lease.path_];
    while (!free.empty() && !lease.connection_) {
      std::unique_ptr<Kept> kept = std::move(free.back());
      free.pop_back();
      const bool current =
          kept->process == ::getpid() && kept->device == status.st_dev && kept->inode == status.st_ino;
      if (current) {
        lease.connection_ = std::move(kept);
      } else {
        stale.push_back(std::move(kept));
      }
    }
  }
  for (auto& kept : stale) discard(std::move(kept));
  if (lease.connection_) return lease;

  // 2. Otherwise a new one.
  auto connection = std::make_unique<SqliteConnection>(path, ConnectionMode::readOnly);
  if (!connection->isOpen()) return lease;
  lease.connection_ = std::make_unique<Kept>(Kept{std::move(connection), status.st_dev, status.st_ino, ::getpid()});
  return lease;
}

}  // namespace zelto::defaults
