// Costs of the shared suite as the widget uses it, each beside its baseline
// in the same run:
// - warm: a request's read through the kept read-only connection, against
//   the same read on a connection the benchmark keeps open itself;
// - cold: a fresh process that opens the suite and reads once, against a
//   fresh process that does nothing (the difference is the cold read);
// - journal: the suite's write-ahead log against a rollback journal, for a
//   write and for an open-read-close by hand;
// - a plain file of the snapshot's size, for scale.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/defaults/Suite.hpp"
#include "tests/support/TemporaryDirectory.hpp"

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

// A suite with a snapshot and a week offset in a fresh folder, and a rollback
// journal database with the same rows beside it.
class SuiteFolder {
 public:
  SuiteFolder() : location_{folder_.path(), "zelto-bench"} {
    if (suite().setData(dashboardKey, snapshotBytes()) || suite().setInteger(weekKey, -2)) {
      throw std::runtime_error("cannot write the benchmark suite");
    }
    sqlite3* database = nullptr;
    sqlite3_open_v2(rollbackPath().c_str(), &database, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_exec(database,
                 "PRAGMA journal_mode=DELETE;"
                 "CREATE TABLE entries(key TEXT PRIMARY KEY NOT NULL, value) WITHOUT ROWID;"
                 "INSERT INTO entries VALUES('zelto-usage-week-offset-v1', -2)",
                 nullptr, nullptr, nullptr);
    sqlite3_close(database);
    const int file = ::open(plainPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (file < 0 || ::write(file, snapshotBytes().data(), snapshotBytes().size()) < 0) {
      throw std::runtime_error("cannot write the baseline file");
    }
    ::close(file);
  }

  // One request's view of the suite.
  Suite suite() const { return Suite::open("group.zelto.limits", location_); }
  std::string rollbackPath() const { return (folder_.path() / "rollback.sqlite3").string(); }
  std::string plainPath() const { return (folder_.path() / "snapshot.json").string(); }

 private:
  zelto::testing::TemporaryDirectory folder_;
  SuiteLocation location_;
};

// Opens a connection, reads the week offset and closes it again, by hand.
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

// Warm: one request (open the suite, read the offset) on the kept connection.
void WarmRequestReadWeekOffset(benchmark::State& state) {
  SuiteFolder folder;
  for (auto _ : state) benchmark::DoNotOptimize(folder.suite().integer(weekKey));
}
BENCHMARK(WarmRequestReadWeekOffset);

void WarmRequestReadSnapshot(benchmark::State& state) {
  SuiteFolder folder;
  for (auto _ : state) benchmark::DoNotOptimize(folder.suite().data(dashboardKey));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * snapshotBytes().size()));
}
BENCHMARK(WarmRequestReadSnapshot);

// Baseline of warm: the same read on a connection kept open with its
// statement prepared (no file checks, no pool).
void WarmBaselineKeptOpenStatement(benchmark::State& state) {
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
BENCHMARK(WarmBaselineKeptOpenStatement);

// Runs `body` in a fresh child process and waits for it.
template <class Body>
void inFreshProcess(benchmark::State& state, const Body& body) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(body());
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    state.SkipWithError("the child process failed");
  }
}

// Cold: a fresh process opens the suite and reads the offset once (the
// parent's kept connections are not used in a child).
void ColdProcessReadWeekOffset(benchmark::State& state) {
  SuiteFolder folder;
  for (auto _ : state) inFreshProcess(state, [&] { return folder.suite().integer(weekKey) == -2 ? 0 : 1; });
}
BENCHMARK(ColdProcessReadWeekOffset)->Unit(benchmark::kMicrosecond);

// Baseline of cold: a fresh process that reads nothing.
void ColdBaselineEmptyProcess(benchmark::State& state) {
  for (auto _ : state) inFreshProcess(state, [] { return 0; });
}
BENCHMARK(ColdBaselineEmptyProcess)->Unit(benchmark::kMicrosecond);

// Journal: open, read and close by hand on the suite (write-ahead log) and on
// the same rows in a rollback-journal database.
void JournalWalOpenReadClose(benchmark::State& state) {
  SuiteFolder folder;
  const std::string path = folder.suite().path().string();
  for (auto _ : state) benchmark::DoNotOptimize(readOnce(path));
}
BENCHMARK(JournalWalOpenReadClose)->Unit(benchmark::kMicrosecond);

void JournalRollbackOpenReadClose(benchmark::State& state) {
  SuiteFolder folder;
  for (auto _ : state) benchmark::DoNotOptimize(readOnce(folder.rollbackPath()));
}
BENCHMARK(JournalRollbackOpenReadClose)->Unit(benchmark::kMicrosecond);

// Journal: one request's write of the offset through the suite (write-ahead
// log, synchronous=NORMAL), and the same upsert by hand on a rollback-journal
// database (synchronous=FULL, its default).
void JournalWalWriteWeekOffset(benchmark::State& state) {
  SuiteFolder folder;
  std::int64_t offset = 0;
  for (auto _ : state) benchmark::DoNotOptimize(folder.suite().setInteger(weekKey, -(++offset % 5)));
}
BENCHMARK(JournalWalWriteWeekOffset)->Unit(benchmark::kMicrosecond);

void JournalRollbackWriteWeekOffset(benchmark::State& state) {
  SuiteFolder folder;
  std::int64_t offset = 0;
  for (auto _ : state) {
    sqlite3* database = nullptr;
    sqlite3_open_v2(folder.rollbackPath().c_str(), &database, SQLITE_OPEN_READWRITE, nullptr);
    const std::string sql =
        "BEGIN IMMEDIATE; INSERT INTO entries VALUES('zelto-usage-week-offset-v1', " + std::to_string(-(++offset % 5)) +
        ") ON CONFLICT(key) DO UPDATE SET value = excluded.value; COMMIT";
    if (sqlite3_exec(database, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) state.SkipWithError("write");
    sqlite3_close(database);
  }
}
BENCHMARK(JournalRollbackWriteWeekOffset)->Unit(benchmark::kMicrosecond);

// For scale: open, read and close a plain file of the snapshot's size.
void PlainFileRead(benchmark::State& state) {
  SuiteFolder folder;
  std::string buffer(snapshotBytes().size() + 1, '\0');
  for (auto _ : state) {
    const int file = ::open(folder.plainPath().c_str(), O_RDONLY | O_CLOEXEC);
    benchmark::DoNotOptimize(::read(file, buffer.data(), buffer.size()));
    ::close(file);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * snapshotBytes().size()));
}
BENCHMARK(PlainFileRead);

}  // namespace

BENCHMARK_MAIN();
