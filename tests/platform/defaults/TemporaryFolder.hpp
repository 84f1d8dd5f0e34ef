#pragma once

#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>

#include "platform/defaults/SqliteConnection.hpp"
#include "tests/support/TemporaryDirectory.hpp"

namespace zelto::defaults::testing {

using TemporaryFolder = zelto::testing::TemporaryDirectory;

inline std::string readBytes(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream stream(path, std::ios::binary | std::ios::trunc);
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline mode_t permissionsOf(const std::filesystem::path& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return static_cast<mode_t>(-1);
  return status.st_mode & 07777;
}

// Runs `body` in a child process without the power to ignore file
// permissions (as "nobody" when the tests run as root) and returns its exit
// status, or -1 when it did not exit normally. `body` returns the status.
inline int runUnprivileged(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(100);
    ::_exit(body());
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Runs `body` in a child process and returns its exit status, or -1 when it
// did not exit normally.
inline int inChildProcess(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(body());
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Another process holding the database at `path` exclusively, the way a
// program does that keeps SQLite in exclusive locking mode: neither readers
// nor writers get in until it lets go, after `milliseconds` or when the
// value goes out of scope, whichever comes first.
class ExclusiveHolder {
 public:
  ExclusiveHolder(const std::filesystem::path& path, int milliseconds) {
    int ready[2];
    if (::pipe(ready) != 0) throw std::runtime_error("pipe failed");
    child_ = ::fork();
    if (child_ == 0) {
      ::close(ready[0]);
      SqliteConnection connection(path, ConnectionMode::readWriteCreate);
      const bool held = connection.execute(
          "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; SELECT count(*) FROM sqlite_schema");
      const char answer = held ? 'y' : 'n';
      (void)::write(ready[1], &answer, 1);
      ::usleep(static_cast<useconds_t>(milliseconds) * 1000);
      ::_exit(0);
    }
    ::close(ready[1]);
    char answer = 'n';
    if (child_ < 0 || ::read(ready[0], &answer, 1) != 1 || answer != 'y') throw std::runtime_error("no lock held");
    ::close(ready[0]);
  }
  ~ExclusiveHolder() {
    ::kill(child_, SIGKILL);
    int status = 0;
    ::waitpid(child_, &status, 0);
  }
  ExclusiveHolder(const ExclusiveHolder&) = delete;
  ExclusiveHolder& operator=(const ExclusiveHolder&) = delete;

 private:
  pid_t child_ = -1;
};

}  // namespace zelto::defaults::testing
