// The desktop host as a running process, beside a bare GTK 3 window (and one
// with a label) measured the same way in the same run. Everything runs on the
// bench's own X server (Xvfb) and session bus (the program starts itself again
// under dbus-run-session); each program logs its frames to
// $ZELTO_LIMITS_HOST_LOG, stamped with the wall clock.
//
//   StartToFirstFrame  from spawning the process to its first frame drawn
//   Memory             PSS and private dirty memory 5 s after start (counters, kB)
//   SuiteWriteToFrame  from a committed suite write to the first frame after
//                      the host saw it (the week offset, so a week animation
//                      follows), at scale 1 and 2
//   AnimatedFrame      drawing time of the week animation's in-between frames
//                      at scale 2: each iteration one change of week, its
//                      median frame as the iteration's time; memory after
//                      the last one
//   Idle               CPU time, context switches of all threads, frames
//                      drawn and relative-text redraws over 60 s without input

#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/Environments.hpp"
#include "tests/support/TemporaryDirectory.hpp"
#include "widget/model/UsageHistoryBounds.hpp"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using namespace zelto;
using Clock = std::chrono::steady_clock;

// Another build of the host may be measured instead: $ZELTO_BENCH_HOST_PROGRAM.
const char* const hostProgram =
    std::getenv("ZELTO_BENCH_HOST_PROGRAM") != nullptr ? std::getenv("ZELTO_BENCH_HOST_PROGRAM") : ZELTO_WIDGET_PROGRAM;
constexpr const char* windowProgram = ZELTO_BARE_WINDOW_PROGRAM;
constexpr const char* sessionMarker = "ZELTO_BENCH_HOST_SESSION";

std::int64_t realMicroseconds() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
}

pid_t spawn(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

void stopProcess(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  for (int tries = 0; tries < 300 && ::waitpid(pid, nullptr, WNOHANG) == 0; ++tries) std::this_thread::sleep_for(10ms);
  if (::kill(pid, 0) == 0) ::kill(pid, SIGKILL), ::waitpid(pid, nullptr, 0);
}

bool eventually(const std::function<bool()>& done, Clock::duration timeout = 10s) {
  const auto deadline = Clock::now() + timeout;
  while (Clock::now() < deadline) {
    if (done()) return true;
    std::this_thread::sleep_for(2ms);
  }
  return done();
}

// The X server for the whole run.
class XServer {
 public:
  XServer() {
    int pipe[2];
    if (::pipe(pipe) != 0) return;
    pid_ = spawn({"Xvfb", "-displayfd", std::to_string(pipe[1]), "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
    ::close(pipe[1]);
    char number[16] = {};
    if (pid_ > 0 && ::read(pipe[0], number, sizeof number - 1) > 0) {
      ::setenv("DISPLAY", (":" + std::to_string(std::atoi(number))).c_str(), 1);
      ::unsetenv("WAYLAND_DISPLAY");
      ready_ = true;
    }
    ::close(pipe[0]);
  }
  ~XServer() { stopProcess(pid_); }
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;
  bool ready() const { return ready_; }

 private:
  pid_t pid_ = -1;
  bool ready_ = false;
};

struct LogLine {
  std::int64_t time = 0;
  std::string text;
};

enum class Program { bare, label, bareWithoutGl, labelWithoutGl, host };
constexpr const char* programNames[] = {"bare GTK window", "GTK window with a label", "bare GTK window, no GL",
                                        "GTK window with a label, no GL", "host"};

// One run of a program with its own folder: suite, settings, runtime folder, log.
class Run {
 public:
  // The host shows `family` of a suite holding the sample dashboard with
  // `accounts` accounts.
  Run(Program program, int scale, const std::string& family = "large", std::size_t accounts = 3) {
    std::filesystem::create_directories(folder_ / "run");
    std::filesystem::permissions(folder_ / "run", std::filesystem::perms::owner_all);
    auto dashboard = ZeltoDashboardSnapshot::sample(testing::wednesdayMorning, environment().calendar);
    // Three weeks of varied usage, so that a change of week moves the bars.
    for (auto& account : dashboard.accounts) {
      if (!account.usage) continue;
      for (int day = 1; day <= 21; ++day) {
        account.usage->dailyUsageBuckets.push_back(
            {dayKey(testing::wednesdayMorning - day * 86400.0, environment().calendar), 90'000 * (day * 7 % 11 + 1)});
      }
    }
    while (dashboard.accounts.size() < accounts) {
      auto another = dashboard.accounts.front();
      another.id = "account-" + std::to_string(dashboard.accounts.size());
      dashboard.accounts.push_back(another);
    }
    dashboard.accounts.resize(accounts);
    testing::storeDashboard(container(), dashboard);
    ::setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (folder_ / "run").c_str(), 1);
    ::setenv("ZELTO_LIMITS_HOST_LOG", (folder_ / "host.log").c_str(), 1);
    ::setenv("GDK_SCALE", std::to_string(scale).c_str(), 1);
    started_ = realMicroseconds();
    switch (program) {
      case Program::bare:
        pid_ = spawn({windowProgram});
        break;
      case Program::label:
        pid_ = spawn({windowProgram, "--label"});
        break;
      case Program::bareWithoutGl:
        pid_ = spawn({windowProgram, "--no-gl"});
        break;
      case Program::labelWithoutGl:
        pid_ = spawn({windowProgram, "--label", "--no-gl"});
        break;
      case Program::host:
        pid_ = spawn({hostProgram, "--dir", (folder_ / "suites").string(), "--suite", container().suiteName, "--now",
                      "2025-03-12T10:00:00Z", "--time-zone", "UTC", "--locale", "en-US", "show", "--family", family});
        break;
    }
    ready_ = eventually([&] { return firstAfter("frame", started_).has_value(); });
  }
  ~Run() { stopProcess(pid_); }
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  static host::RequestEnvironment environment() { return testing::environmentAt(); }
  SharedContainer container() const { return testing::containerIn(folder_ / "suites"); }
  bool ready() const { return ready_; }
  pid_t pid() const { return pid_; }
  std::int64_t started() const { return started_; }

  std::vector<LogLine> lines(const std::string& prefix) const {
    std::vector<LogLine> found;
    std::ifstream in(folder_ / "host.log");
    LogLine line;
    while (in >> line.time && std::getline(in, line.text)) {
      line.text.erase(0, 1);
      if (line.text.rfind(prefix, 0) == 0) found.push_back(line);
    }
    return found;
  }
  std::optional<std::int64_t> firstAfter(const std::string& prefix, std::int64_t since) const {
    for (const auto& line : lines(prefix)) {
      if (line.time >= since) return line.time;
    }
    return std::nullopt;
  }

  // Fields of /proc/PID/smaps_rollup, in kB.
  std::map<std::string, double> memory() const {
    std::map<std::string, double> fields;
    std::ifstream in("/proc/" + std::to_string(pid_) + "/smaps_rollup");
    for (std::string line; std::getline(in, line);) {
      const auto colon = line.find(':');
      if (colon == std::string::npos || line.find(" kB") == std::string::npos) continue;
      fields[line.substr(0, colon)] = std::atof(line.c_str() + colon + 1);
    }
    return fields;
  }

 private:
  testing::TemporaryDirectory folder_;
  pid_t pid_ = -1;
  std::int64_t started_ = 0;
  bool ready_ = false;
};

void BM_StartToFirstFrame(benchmark::State& state) {
  const auto program = static_cast<Program>(state.range(0));
  for (auto _ : state) {
    Run run(program, 1);
    if (!run.ready()) {
      state.SkipWithError("no frame within 10 s");
      return;
    }
    state.SetIterationTime(static_cast<double>(*run.firstAfter("frame", run.started()) - run.started()) / 1e6);
  }
  state.SetLabel(programNames[state.range(0)]);
}

void BM_Memory(benchmark::State& state) {
  const auto program = static_cast<Program>(state.range(0));
  std::map<std::string, double> memory;
  for (auto _ : state) {
    Run run(program, 1);
    if (!run.ready()) {
      state.SkipWithError("no frame within 10 s");
      return;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(run.started() + 5'000'000 - realMicroseconds()));
    std::this_thread::sleep_for(500ms);  // the host settles (gives memory back) after the last frame
    memory = run.memory();
  }
  state.counters["pss_kB"] = memory["Pss"];
  state.counters["private_dirty_kB"] = memory["Private_Dirty"];
  state.counters["pss_anon_kB"] = memory["Pss_Anon"];
  state.SetLabel(programNames[state.range(0)]);
}

// Writes week offsets 1, 0, -1, 0, ... and hands each write's time to `measure`
// once the host has drawn the first frame after seeing it; waits for any
// animation to end before the next write.
template <typename Measure>
void changeWeeks(benchmark::State& state, int scale, Measure measure) {
  Run run(Program::host, scale, "large", 1);
  if (!run.ready() || !eventually([&] { return !run.lines("timeline").empty(); })) {
    state.SkipWithError("the host did not start");
    return;
  }
  std::int64_t offset = 0;
  for (auto _ : state) {
    offset = offset == 0 ? -1 : 0;
    testing::storeOffset(run.container(), offset);
    const std::int64_t written = realMicroseconds();
    std::optional<std::int64_t> seen;
    std::optional<std::int64_t> frame;
    const bool drawn = eventually([&] {
      seen = run.firstAfter("suite-changed", written - 1000);
      return seen && (frame = run.firstAfter("frame", *seen));
    });
    if (!drawn) {
      state.SkipWithError("no frame after a suite write");
      return;
    }
    // The animation has ended once a frame is drawn that is not in-between.
    eventually([&] {
      const auto frames = run.lines("frame");
      return !frames.empty() && frames.back().time > *frame &&
             frames.back().text.find("animating") == std::string::npos;
    });
    measure(state, run, written, *seen, *frame);
  }
}

void BM_SuiteWriteToFrame(benchmark::State& state) {
  std::vector<double> toSeen;
  std::vector<double> toFrame;
  changeWeeks(state, static_cast<int>(state.range(0)),
              [&](benchmark::State& state, const Run&, std::int64_t written, std::int64_t seen, std::int64_t frame) {
                state.SetIterationTime(static_cast<double>(frame - written) / 1e6);
                toSeen.push_back(static_cast<double>(seen - written) / 1000);
                toFrame.push_back(static_cast<double>(frame - seen) / 1000);
              });
  // Where the time goes: the folder monitor seeing the change (its quiet
  // period included), then reading, laying out and drawing.
  const auto median = [](std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
  };
  state.counters["seen_median_ms"] = median(toSeen);
  state.counters["seen_to_frame_median_ms"] = median(toFrame);
  double slowest = 0;
  for (std::size_t index = 0; index < toSeen.size(); ++index)
    slowest = std::max(slowest, toSeen[index] + toFrame[index]);
  state.counters["max_ms"] = slowest;
}

void BM_AnimatedFrame(benchmark::State& state) {
  std::vector<double> all;
  std::map<std::string, double> memory;
  changeWeeks(state, 2, [&](benchmark::State& state, const Run& run, std::int64_t written, std::int64_t, std::int64_t) {
    memory = run.memory();
    std::vector<double> drawing;
    for (const auto& line : run.lines("frame")) {
      if (line.time < written || line.text.find("animating") == std::string::npos) continue;
      std::istringstream words(line.text);
      std::string frameWord, instance;
      double microseconds = 0;
      words >> frameWord >> instance >> microseconds;
      drawing.push_back(microseconds);
    }
    if (drawing.empty()) {
      state.SkipWithError("no in-between frames");
      return;
    }
    std::sort(drawing.begin(), drawing.end());
    state.SetIterationTime(drawing[drawing.size() / 2] / 1e6);
    all.insert(all.end(), drawing.begin(), drawing.end());
  });
  if (all.empty()) return;
  std::sort(all.begin(), all.end());
  state.counters["frames"] = static_cast<double>(all.size());
  state.counters["median_ms"] = all[all.size() / 2] / 1000;
  state.counters["p90_ms"] = all[all.size() * 9 / 10] / 1000;
  state.counters["max_ms"] = all.back() / 1000;
  // After the last change of week.
  state.counters["pss_kB"] = memory["Pss"];
  state.counters["private_dirty_kB"] = memory["Private_Dirty"];
}

// CPU time (clock ticks) and context switches of every thread of `pid`.
std::pair<double, double> cpuAndSwitches(pid_t pid) {
  double ticks = 0;
  double switches = 0;
  const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
  std::error_code ignored;
  for (const auto& task : std::filesystem::directory_iterator(tasks, ignored)) {
    std::ifstream stat(task.path() / "stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int index = 3; index <= 15 && fields >> field; ++index) {
      if (index == 14 || index == 15) ticks += std::atof(field.c_str());  // utime, stime
    }
    std::ifstream status(task.path() / "status");
    for (std::string line; std::getline(status, line);) {
      if (line.find("ctxt_switches:") != std::string::npos) switches += std::atof(line.c_str() + line.find(':') + 1);
    }
  }
  return {ticks, switches};
}

void BM_Idle(benchmark::State& state) {
  const auto program = static_cast<Program>(state.range(0));
  double cpuMilliseconds = 0;
  double switches = 0;
  double frames = 0;
  double relativeRedraws = 0;
  for (auto _ : state) {
    Run run(program, 1);
    if (!run.ready()) {
      state.SkipWithError("no frame within 10 s");
      return;
    }
    std::this_thread::sleep_for(3s);
    const auto before = cpuAndSwitches(run.pid());
    const std::int64_t from = realMicroseconds();
    std::this_thread::sleep_for(60s);
    const auto after = cpuAndSwitches(run.pid());
    cpuMilliseconds = (after.first - before.first) * 1000.0 / static_cast<double>(::sysconf(_SC_CLK_TCK));
    switches = after.second - before.second;
    frames = 0;
    for (const auto& line : run.lines("frame")) frames += line.time >= from ? 1 : 0;
    for (const auto& line : run.lines("relative-redraw")) relativeRedraws += line.time >= from ? 1 : 0;
  }
  state.counters["cpu_ms"] = cpuMilliseconds;
  state.counters["context_switches"] = switches;
  state.counters["frames"] = frames;
  state.counters["relative_redraws"] = relativeRedraws;
  state.SetLabel(programNames[state.range(0)]);
}

}  // namespace

BENCHMARK(BM_StartToFirstFrame)->DenseRange(0, 4)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memory)->DenseRange(0, 4)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SuiteWriteToFrame)->Arg(1)->Arg(2)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnimatedFrame)->Iterations(6)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Idle)->Arg(2)->Arg(4)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  // A private session bus: the program runs again under dbus-run-session.
  if (std::getenv(sessionMarker) == nullptr) {
    ::setenv(sessionMarker, "1", 1);
    std::vector<std::string> arguments{"dbus-run-session", "--", std::filesystem::read_symlink("/proc/self/exe")};
    for (int index = 1; index < argc; ++index) arguments.emplace_back(argv[index]);
    std::vector<char*> command;
    for (auto& argument : arguments) command.push_back(argument.data());
    command.push_back(nullptr);
    ::execvp(command[0], command.data());
    std::perror("dbus-run-session");
    return 1;
  }
  const XServer server;
  if (!server.ready()) {
    std::fprintf(stderr, "Xvfb did not start\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
