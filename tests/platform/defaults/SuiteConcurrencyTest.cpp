#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/defaults/Suite.hpp"
#include "tests/platform/defaults/TemporaryFolder.hpp"

namespace zelto::defaults {
namespace {

using testing::TemporaryFolder;

constexpr const char* key = "zelto-dashboard-snapshot-v2";

// Two complete values, large enough to span many database pages, so that a
// torn read would show bytes of both.
const std::string& valueA() {
  static const std::string value = "A" + std::string(150'000, 'a') + "A";
  return value;
}
const std::string& valueB() {
  static const std::string value = "B" + std::string(90'000, 'b') + "B";
  return value;
}

enum ChildStatus { clean = 0, tornRead = 1, failedWrite = 2, missingValue = 3, busyRead = 4 };

// Each write and read is a request of its own, with a suite opened for it.
int writeAlternately(const SuiteLocation& location, int rounds) {
  for (int round = 0; round < rounds; ++round) {
    const Suite suite = Suite::open("group.zelto.limits", location);
    if (suite.setData(key, round % 2 ? valueB() : valueA())) return failedWrite;
    if (suite.setInteger("counter", round)) return failedWrite;
  }
  return clean;
}

int readRepeatedly(const SuiteLocation& location, int rounds) {
  for (int round = 0; round < rounds; ++round) {
    const auto value = Suite::open("group.zelto.limits", location).data(key);
    if (value.isBusy()) return busyRead;
    if (!value.value()) return missingValue;
    if (*value.value() != valueA() && *value.value() != valueB()) return tornRead;
  }
  return clean;
}

void expectChildrenClean(const std::vector<pid_t>& children) {
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), clean) << "child " << pid;
  }
}

TEST(SuiteConcurrency, ProcessesCreatingTheSuiteTogetherAllSucceed) {
  TemporaryFolder folder;
  const SuiteLocation location{folder.path() / "not-yet", "zelto-test"};
  std::vector<pid_t> children;
  for (int child = 0; child < 6; ++child) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      const Suite suite = Suite::open("group.zelto.limits", location);
      ::_exit(suite.setInteger("writer-" + std::to_string(child), child) ? failedWrite : clean);
    }
    children.push_back(pid);
  }
  expectChildrenClean(children);
  EXPECT_EQ(Suite::open("group.zelto.limits", location).entries().value().size(), 6u);
}

// Processes reading while others write are covered where the widget's
// requests contend (SuiteContentionTest); here threads of one process share
// the kept connections.
TEST(SuiteConcurrency, ThreadsSeeOldOrNewValueNeverAMix) {
  TemporaryFolder folder;
  const SuiteLocation location{folder.path(), "zelto-test"};
  ASSERT_EQ(Suite::open("group.zelto.limits", location).setData(key, valueB()), std::nullopt);
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int thread = 0; thread < 4; ++thread) {
    threads.emplace_back([&, thread] {
      const int status = thread < 2 ? writeAlternately(location, 20) : readRepeatedly(location, 60);
      if (status != clean) failures.fetch_add(1);
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
}

}  // namespace
}  // namespace zelto::defaults
