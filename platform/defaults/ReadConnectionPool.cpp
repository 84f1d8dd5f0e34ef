#include "platform/defaults/ReadConnectionPool.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <unordered_map>

namespace zelto::defaults {

struct PooledReadConnection::Slot {
  std::mutex mutex;
  std::unique_ptr<SqliteConnection> connection;
  // The file the connection has open, and the process that opened it.
  dev_t device = 0;
  ino_t inode = 0;
  pid_t process = 0;
};

namespace {

std::mutex slotsMutex;

std::unordered_map<std::string, std::shared_ptr<PooledReadConnection::Slot>>& slots() {
  // Never destroyed: connections may still be in use while the process exits.
  static auto* instance = new std::unordered_map<std::string, std::shared_ptr<PooledReadConnection::Slot>>();
  return *instance;
}

}  // namespace

PooledReadConnection acquireReadConnection(const std::filesystem::path& path) {
  PooledReadConnection result;
  struct stat status {};
  // A missing file reads as empty; nothing is created.
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return result;

  {
    std::lock_guard lock(slotsMutex);
    auto& slot = slots()[path.string()];
    if (!slot) slot = std::make_shared<PooledReadConnection::Slot>();
    result.slot_ = slot;
  }
  result.lock_ = std::unique_lock(result.slot_->mutex);
  auto& slot = *result.slot_;

  if (slot.connection) {
    if (slot.process != ::getpid()) {
      // A connection must not be used, nor closed, in a child process: it
      // belongs to the parent's locks and file descriptors.
      (void)slot.connection.release();
    } else if (slot.device != status.st_dev || slot.inode != status.st_ino) {
      slot.connection.reset();  // the file was replaced
    }
  }
  if (!slot.connection) {
    auto connection = std::make_unique<SqliteConnection>(path, ConnectionMode::readOnly);
    if (!connection->isOpen()) return result;
    slot.connection = std::move(connection);
    slot.device = status.st_dev;
    slot.inode = status.st_ino;
    slot.process = ::getpid();
  }
  result.connection_ = slot.connection.get();
  return result;
}

}  // namespace zelto::defaults
