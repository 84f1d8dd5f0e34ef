// Every suite call opens the database, does one thing and closes it again.
// The baselines show what that costs: the same read on a connection kept
// open with its statement prepared, and a bare read of a file of the same
// size.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/defaults/Suite.hpp"

namespace {

using zelto::defaults::Suite;
using zelto::defaults::SuiteLocation;

constexpr const char* dashboardKey = "zelto-dashboard-snapshot-v2";
constexpr const char* weekKey = "zelto-usage-week-offset-v1";

// About the size of a three-account dashboard with a month of usage.
const std::string& snapshotBytes() {
  static const std::string bytes = [] {
    std::string json = "{\"updatedAt\": 763291800, \"accounts\": [";
    while (json.size() < 8000) json += "{\"startDate\": \"2025-03-09\", \"tokens\": 1240000}, ";
    return json + "]}";
  }();
  return bytes;
}

// A suite with a snapshot and a week offset in a fresh folder.
class SuiteFolder {
 public:
  SuiteFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/zelto-suite-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    location_ = {pattern, "zelto-bench"};
    if (suite().setData(dashboardKey, snapshotBytes()) || suite().setInteger(weekKey, -2)) {
      throw std::runtime_error("cannot write the benchmark suite");
    }
    // A plain file of the snapshot's size for the file-read baseline.
    const int file = ::open((location_.directory / "snapshot.json").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (file < 0 || ::write(file, snapshotBytes().data(), snapshotBytes().size()) < 0) {
      throw std::runtime_error("cannot write the baseline file");
    }
    ::close(file);
  }
  ~SuiteFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(location_.directory, ignored);
  }

  Suite suite() const { return Suite::open("group.zelto.limits", location_); }
  const SuiteLocation& location() const { return location_; }

 private:
  SuiteLocation location_;
};

void SuiteReadWeekOffset(benchmark::State& state) {
  SuiteFolder folder;
  for (auto _ : state) {
    benchmark::DoNotOptimize(folder.suite().integer(weekKey));
  }
}
BENCHMARK(SuiteReadWeekOffset);

void SuiteReadSnapshot(benchmark::State& state) {
  SuiteFolder folder;
  for (auto _ : state) {
    benchmark::DoNotOptimize(folder.suite().data(dashboardKey));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * snapshotBytes().size()));
}
BENCHMARK(SuiteReadSnapshot);

void SuiteReadBeforeAnythingWasWritten(benchmark::State& state) {
  SuiteFolder folder;
  const Suite missing = Suite::open("never-written", folder.location());
  for (auto _ : state) {
    benchmark::DoNotOptimize(missing.data(dashboardKey));
  }
}
BENCHMARK(SuiteReadBeforeAnythingWasWritten);

void SuiteWriteWeekOffset(benchmark::State& state) {
  SuiteFolder folder;
  std::int64_t offset = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(folder.suite().setInteger(weekKey, -(++offset % 5)));
  }
}
BENCHMARK(SuiteWriteWeekOffset)->Unit(benchmark::kMicrosecond);

// Baseline: the same read on a connection that stays open.
void BaselineKeptOpenConnectionRead(benchmark::State& state) {
  SuiteFolder folder;
  sqlite3* database = nullptr;
  sqlite3_open_v2(folder.suite().path().c_str(), &database, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(database, "SELECT value FROM entries WHERE key = ?1", -1, &statement, nullptr);
  for (auto _ : state) {
    sqlite3_bind_text(statement, 1, weekKey, -1, SQLITE_STATIC);
    if (sqlite3_step(statement) != SQLITE_ROW) state.SkipWithError("no row");
    benchmark::DoNotOptimize(sqlite3_column_int64(statement, 0));
    sqlite3_reset(statement);
  }
  sqlite3_finalize(statement);
  sqlite3_close(database);
}
BENCHMARK(BaselineKeptOpenConnectionRead);

// Opens a connection, reads the week offset and closes it again: one suite
// read done by hand, for the journal-mode baselines below.
std::int64_t readOnce(const std::string& path) {
  sqlite3* database = nullptr;
  sqlite3_open_v2(path.c_str(), &database, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(database, "SELECT value FROM entries WHERE key = ?1", -1, &statement, nullptr);
  sqlite3_bind_text(statement, 1, weekKey, -1, SQLITE_STATIC);
  const std::int64_t value = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : 0;
  sqlite3_finalize(statement);
  sqlite3_close(database);
  return value;
}

// Baseline: the same open-read-close while another connection holds the
// database open (as when the companion application keeps it open). The
// first connection to attach to a WAL database rebuilds its shared-memory
// index; with another one attached that work is skipped.
void BaselineReadWithAnotherConnectionOpen(benchmark::State& state) {
  SuiteFolder folder;
  const std::string path = folder.suite().path().string();
  sqlite3* keeper = nullptr;
  sqlite3_open_v2(path.c_str(), &keeper, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_exec(keeper, "SELECT count(*) FROM entries", nullptr, nullptr, nullptr);
  for (auto _ : state) {
    benchmark::DoNotOptimize(readOnce(path));
  }
  sqlite3_close(keeper);
}
BENCHMARK(BaselineReadWithAnotherConnectionOpen);

// Baseline: the same open-read-close on a database with a rollback journal
// instead of a write-ahead log (readers and writers then block each other).
void BaselineReadWithRollbackJournal(benchmark::State& state) {
  SuiteFolder folder;
  const std::string path = (folder.location().directory / "rollback.sqlite3").string();
  sqlite3* database = nullptr;
  sqlite3_open_v2(path.c_str(), &database, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  sqlite3_exec(database,
               "CREATE TABLE entries(key TEXT PRIMARY KEY NOT NULL, value) WITHOUT ROWID;"
               "INSERT INTO entries VALUES('zelto-usage-week-offset-v1', -2)",
               nullptr, nullptr, nullptr);
  sqlite3_close(database);
  for (auto _ : state) {
    benchmark::DoNotOptimize(readOnce(path));
  }
}
BENCHMARK(BaselineReadWithRollbackJournal);

// Baseline: open, read and close a plain file of the snapshot's size.
void BaselinePlainFileRead(benchmark::State& state) {
  SuiteFolder folder;
  const std::filesystem::path path = folder.location().directory / "snapshot.json";
  std::string buffer(snapshotBytes().size() + 1, '\0');
  for (auto _ : state) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    benchmark::DoNotOptimize(::read(file, buffer.data(), buffer.size()));
    ::close(file);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * snapshotBytes().size()));
}
BENCHMARK(BaselinePlainFileRead);

}  // namespace

BENCHMARK_MAIN();
