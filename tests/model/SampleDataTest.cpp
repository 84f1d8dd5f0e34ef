#include "widget/model/SampleData.hpp"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tests/model/ModelTestSupport.hpp"
#include "widget/model/UsageHistoryBounds.hpp"
#include "widget/model/UsageWeek.hpp"

namespace zelto {
namespace {

using testing::localDate;
using testing::makeCalendar;

TEST(SampleData, UsageDaysAreTheFourteenLocalDaysEndingTodayAcrossADaylightSavingChange) {
  const auto calendar = makeCalendar("Europe/Berlin", testing::monday);
  // 02:30 local time: the clocks went forward on 2025-03-30 and skipped it
  // that day, so stepping back by wall-clock time must still land on days.
  const Date buildTime = localDate(calendar, 2025, 4, 5, 2) + 1800;
  const ZeltoUsageSnapshot usage = makeSampleUsageSnapshot(buildTime, calendar);
  std::vector<std::string> keys;
  for (const ZeltoUsageDay& bucket : usage.dailyUsageBuckets) keys.push_back(bucket.startDate);
  const std::vector<std::string> expected = {"2025-03-23", "2025-03-24", "2025-03-25", "2025-03-26", "2025-03-27",
                                             "2025-03-28", "2025-03-29", "2025-03-30", "2025-03-31", "2025-04-01",
                                             "2025-04-02", "2025-04-03", "2025-04-04", "2025-04-05"};
  EXPECT_EQ(keys, expected);
}

struct BuildDay {
  const char* zone;
  int firstWeekday;
  int day;  // of March 2025: 10 is a Monday, 16 a Sunday
};

TEST(SampleData, CurrentWeekShowsDaysUpToTodayAndTheWeekBeforeIsFull) {
  const BuildDay buildDays[] = {{"UTC", testing::monday, 10},
                                {"UTC", testing::monday, 16},
                                {"UTC", testing::sunday, 15},
                                {"UTC", testing::sunday, 16},
                                {"America/New_York", testing::sunday, 13},
                                {"Asia/Kolkata", testing::monday, 16},
                                {"Europe/Berlin", testing::monday, 30}};
  for (const BuildDay& build : buildDays) {
    SCOPED_TRACE(std::string(build.zone) + " " + std::to_string(build.day));
    const auto calendar = makeCalendar(build.zone, build.firstWeekday);
    const Date buildTime = localDate(calendar, 2025, 3, build.day, 10);
    const ZeltoDashboardSnapshot dashboard = makeSampleDashboard(buildTime, calendar);
    const auto current = usageWeek(dashboard, 0, calendar, buildTime);
    const auto previous = usageWeek(dashboard, -1, calendar, buildTime);
    ASSERT_TRUE(current && previous);
    EXPECT_EQ(current->todayTokens, dashboard.accounts[0].usage->dailyUsageBuckets.back().tokens);
    const std::int64_t daysIntoWeek = *calendar.daysBetween(current->startDate, buildTime);
    for (std::int64_t index = 0; index < 7; ++index) {
      EXPECT_EQ(current->days[static_cast<std::size_t>(index)].tokens > 0, index <= daysIntoWeek) << index;
      EXPECT_GT(previous->days[static_cast<std::size_t>(index)].tokens, 0) << index;
    }
    // The oldest bucket lies 13 days back: two weeks, or one when today ends
    // the week.
    EXPECT_EQ(earliestUsageWeekOffset(dashboard, calendar, buildTime), daysIntoWeek == 6 ? -1 : -2);
  }
}

// The only test in this program that touches the shared samples: they are
// built once per process.
TEST(SampleData, SharedSamplesAreBuiltOnceByTheFirstCaller) {
  const auto calendar = makeCalendar("UTC", testing::monday);
  std::vector<const ZeltoDashboardSnapshot*> seen(8);
  std::vector<std::thread> threads;
  for (std::size_t index = 0; index < seen.size(); ++index) {
    threads.emplace_back([&, index] {
      seen[index] = &ZeltoDashboardSnapshot::sample(763291800 + 1000.0 * static_cast<double>(index), calendar);
    });
  }
  for (auto& thread : threads) thread.join();
  const ZeltoDashboardSnapshot* shared = seen[0];
  for (const auto* each : seen) EXPECT_EQ(each, shared);

  // One racer's time became the build time; later calls change nothing, and
  // the dashboard's first account holds the other two shared samples.
  const Date buildTime = shared->updatedAt;
  const auto other = makeCalendar("Asia/Kathmandu", testing::sunday);
  EXPECT_EQ(&ZeltoDashboardSnapshot::sample(0, other), shared);
  EXPECT_EQ(shared->accounts[0].limits, ZeltoLimitSnapshot::sample(0, other));
  EXPECT_EQ(shared->accounts[0].usage, ZeltoUsageSnapshot::sample(0, other));
  EXPECT_EQ(*shared, makeSampleDashboard(buildTime, calendar));
}

}  // namespace
}  // namespace zelto
