#pragma once

// The desktop host program run as a child process of a test, with its own
// suite folder, settings and diagnostic log, and the process helpers the
// desktop tests share.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/defaults/Suite.hpp"
#include "tests/apps/ProgramRunner.hpp"
#include "tests/support/TemporaryDirectory.hpp"

extern char** environ;

namespace zelto::testing {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

inline constexpr const char* program = ZELTO_WIDGET_PROGRAM;
inline constexpr const char* dashboardKey = "zelto-dashboard-snapshot-v2";
inline constexpr const char* offsetKey = "zelto-usage-week-offset-v1";
inline constexpr const char* now = "2025-03-12T10:00:00Z";  // a Wednesday; 763466400

// Usage over three weeks; the first window resets 1 h 1 min 1.5 s after `now`.
inline const std::string threeWeeks = R"({"updatedAt": 763466400, "accounts": [{"id": "a", "name": "Personal",
 "limits": {"fetchedAt": 763466400, "windows": [{"id": "w", "title": "5-hour", "usedPercent": 28,
   "resetsAt": 763470061.5}], "resetCredits": []},
 "usage": {"fetchedAt": 763466400, "dailyUsageBuckets": [{"startDate": "2025-02-26", "tokens": 900000},
   {"startDate": "2025-03-05", "tokens": 1500000}, {"startDate": "2025-03-11", "tokens": 420000}],
   "summary": {"currentStreakDays": 2}}}]})";

inline pid_t spawn(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

// Polls `done` until it holds or `timeout` passes.
inline bool eventually(const std::function<bool()>& done, Clock::duration timeout = 5s) {
  const auto deadline = Clock::now() + timeout;
  while (Clock::now() < deadline) {
    if (done()) return true;
    std::this_thread::sleep_for(10ms);
  }
  return done();
}

inline int exitStatusWithin(pid_t pid, Clock::duration timeout) {
  int status = -1;
  if (!eventually([&] { return waitpid(pid, &status, WNOHANG) == pid; }, timeout)) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// One run of the host with its own suite folder, settings and log.
class HostProcess {
 public:
  explicit HostProcess(std::string family, std::string extra = "") : family_(std::move(family)) {
    if (!extra.empty()) suite().setData(dashboardKey, extra);
  }
  ~HostProcess() { stop(); }

  void stop() {
    if (pid_ <= 0) return;
    run({"quit"});
    if (exitStatusWithin(pid_, 5s) < 0) ::kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  void restart() {
    stop();
    std::filesystem::remove(folder_ / "host.log");
    start();
  }

  void start() {
    setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
    setenv("ZELTO_LIMITS_HOST_LOG", (folder_ / "host.log").c_str(), 1);
    pid_ = spawn(command({"show", "--family", family_}));
    ASSERT_TRUE(eventually([&] { return count("timeline") > 0 && count("frame") >= 2; })) << log();
  }
  std::vector<std::string> command(std::vector<std::string> arguments) const {
    std::vector<std::string> all{program,    "--dir", (folder_ / "suites").string(), "--now", now, "--time-zone", "UTC",
                                 "--locale", "en-US"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return all;
  }
  int run(const std::vector<std::string>& arguments) const { return exitStatusWithin(spawn(command(arguments)), 10s); }

  defaults::Suite suite() const {
    return defaults::Suite::open("group.zelto.limits", defaults::SuiteLocation{folder_ / "suites", "test"});
  }
  const TemporaryDirectory& folder() const { return folder_; }
  std::string log() const { return readFile(folder_ / "host.log"); }
  // Log lines (without their time stamp) that start with `prefix`, and when.
  std::vector<std::pair<std::int64_t, std::string>> lines(const std::string& prefix) const {
    std::vector<std::pair<std::int64_t, std::string>> found;
    std::istringstream in(log());
    std::int64_t time = 0;
    std::string rest;
    while (in >> time && std::getline(in, rest)) {
      if (rest.rfind(" " + prefix, 0) == 0) found.emplace_back(time, rest.substr(1));
    }
    return found;
  }
  std::size_t count(const std::string& prefix) const { return lines(prefix).size(); }
  bool running() const { return waitpid(pid_, nullptr, WNOHANG) == 0; }

 private:
  TemporaryDirectory folder_;
  std::string family_;
  pid_t pid_ = -1;
};

}  // namespace zelto::testing
