// The widget and its companion application in separate processes, with a
// third program holding the suite for longer than a request may wait.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "platform/host/HostDriver.hpp"
#include "tests/platform/defaults/TemporaryFolder.hpp"
#include "tests/support/Dashboards.hpp"
#include "tests/support/Environments.hpp"
#include "widget/browsing/UsageWeekIntents.hpp"
#include "widget/runtime/LimitTimelineProvider.hpp"

namespace zelto {
namespace {

using Clock = std::chrono::steady_clock;
enum ReaderStatus { clean = 0, tornOrForeign = 1, noDataWhileStored = 2, writeFailed = 3 };

// Two large dashboards, told apart by their update time.
ZeltoDashboardSnapshot dashboard(Date updatedAt, const locale::Calendar& calendar) {
  ZeltoDashboardSnapshot result{updatedAt, {}};
  for (int i = 0; i < 40; ++i) {
    auto account = testing::limitedAccount("account-" + std::to_string(i), {10, 70});
    account.usage = testing::usageOn({testing::wednesdayMorning - 21 * testing::day, testing::wednesdayMorning},
                                     calendar, 1000 + i);
    result.accounts.push_back(std::move(account));
  }
  return result;
}

pid_t inChild(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(body());
  return child;
}

int exitStatusOf(pid_t child) {
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

TEST(SuiteContention, RequestsNeverSeeATornOrMissingSnapshotAndBusyIntentsChangeNothing) {
  testing::TemporaryDirectory directory;
  const SharedContainer container = testing::containerIn(directory.path());
  const host::RequestEnvironment environment = testing::environmentAt();
  const auto first = dashboard(1, environment.calendar), second = dashboard(2, environment.calendar);
  testing::storeDashboard(container, first);
  testing::storeOffset(container, -1);
  const auto until = Clock::now() + std::chrono::milliseconds(1500);

  // 1. The companion stores the two snapshots back to back while the widget
  // asks for timelines in another process.
  const pid_t writer = inChild([&] {
    for (int round = 0; Clock::now() < until; ++round) {
      const auto json = encodeJson(round % 2 ? first : second);
      if (testing::suiteOf(container).setData(SharedSnapshotStore::dashboardKey, json)) return int{writeFailed};
    }
    return int{clean};
  });
  const pid_t reader = inChild([&] {
    const LimitTimelineProvider provider(container);
    host::WidgetCenter center;
    const host::HostDriver<LimitEntry> driver(provider, center, "ZeltoLimitsWidget");
    while (Clock::now() < until) {
      const LimitEntry entry =
          driver.requestTimeline({kit::WidgetFamily::systemLarge, false, environment}).entries.at(0);
      if (!entry.dashboard) return int{noDataWhileStored};
      if (*entry.dashboard != first && *entry.dashboard != second) return int{tornOrForeign};
    }
    return int{clean};
  });
  EXPECT_EQ(exitStatusOf(writer), clean);
  EXPECT_EQ(exitStatusOf(reader), clean);

  // 2. A third program holds the suite for longer than two requests' waits:
  // a timeline says it could not read now, and an intent stores nothing.
  host::WidgetCenter center;
  const LimitTimelineProvider provider(container);
  const host::HostDriver<LimitEntry> driver(provider, center, "ZeltoLimitsWidget");
  {
    const defaults::testing::ExclusiveHolder holder(testing::suiteOf(container).path(), 10'000);
    const auto run = driver.runIntent(PreviousUsageWeekIntent(container), {kit::WidgetFamily::systemLarge, false,
                                                                            environment});
    EXPECT_EQ(run.result.outcome(), host::IntentResult::Outcome::notRunNow);
    EXPECT_FALSE(run.timeline);
    const LimitEntry entry = driver.requestTimeline({kit::WidgetFamily::systemLarge, false, environment}).entries.at(0);
    EXPECT_TRUE(entry.transientFailure);
  }
  EXPECT_EQ(testing::storedOffset(container), -1);
  // Once it lets go, the same intent runs.
  const auto run = driver.runIntent(PreviousUsageWeekIntent(container), {kit::WidgetFamily::systemLarge, false,
                                                                          environment});
  ASSERT_TRUE(run.timeline);
  EXPECT_EQ(run.timeline->entries.at(0).usageWeekOffset, -2);
}

}  // namespace
}  // namespace zelto
