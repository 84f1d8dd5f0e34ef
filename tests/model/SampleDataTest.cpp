#include "widget/model/SampleData.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <thread>
#include <vector>

#include "tests/model/ModelTestSupport.hpp"
#include "widget/model/UsageHistoryBounds.hpp"
#include "widget/model/UsageWeek.hpp"

namespace zelto {
namespace {

using testing::localDate;
using testing::makeCalendar;

const std::vector<std::int64_t> sampleTokens = {420000, 730000,  510000, 1180000, 860000,  1420000, 940000,
                                                680000, 1060000, 890000, 1310000, 1520000, 760000,  1240000};

TEST(SampleData, LimitSnapshotHoldsTwoWindowsAndThreeCredits) {
  const Date buildTime = 763291800;
  const ZeltoLimitSnapshot expected{buildTime,
                                    "Plus",
                                    {ZeltoLimitWindow{"zelto-300", "5-hour", 28, buildTime + 8280, 300},
                                     ZeltoLimitWindow{"zelto-10080", "Weekly", 44, buildTime + 345600, 10080}},
                                    "0",
                                    {ZeltoResetCredit{"preview-1", "Full reset", buildTime + 777600},
                                     ZeltoResetCredit{"preview-2", "Full reset", buildTime + 1382400},
                                     ZeltoResetCredit{"preview-3", "Full reset", buildTime + 2419200}}};
  EXPECT_EQ(makeSampleLimitSnapshot(buildTime), expected);
}

TEST(SampleData, UsageCoversTheFourteenDaysEndingToday) {
  const auto calendar = makeCalendar("Asia/Kathmandu", testing::monday);
  const Date buildTime = localDate(calendar, 2025, 3, 12, 10);
  const ZeltoUsageSnapshot usage = makeSampleUsageSnapshot(buildTime, calendar);
  EXPECT_EQ(usage.fetchedAt, buildTime);
  ASSERT_EQ(usage.dailyUsageBuckets.size(), 14u);
  EXPECT_EQ(usage.dailyUsageBuckets.front().startDate, "2025-02-27");
  EXPECT_EQ(usage.dailyUsageBuckets.back().startDate, "2025-03-12");
  for (std::size_t index = 0; index < 14; ++index) {
    EXPECT_EQ(usage.dailyUsageBuckets[index].tokens, sampleTokens[index]);
  }
  EXPECT_EQ(usage.summary, (ZeltoUsageSummary{6, 48600000, 1842, 19, 2140000}));
}

TEST(SampleData, UsageDaysStayConsecutiveAcrossADaylightSavingChange) {
  const auto calendar = makeCalendar("Europe/Berlin", testing::monday);
  // 02:30 does not exist on 2025-03-30, the day the clocks go forward.
  const Date buildTime = localDate(calendar, 2025, 4, 5, 2) + 1800;
  const ZeltoUsageSnapshot usage = makeSampleUsageSnapshot(buildTime, calendar);
  std::vector<std::string> keys;
  for (const ZeltoUsageDay& bucket : usage.dailyUsageBuckets) keys.push_back(bucket.startDate);
  const std::vector<std::string> expected = {"2025-03-23", "2025-03-24", "2025-03-25", "2025-03-26", "2025-03-27",
                                             "2025-03-28", "2025-03-29", "2025-03-30", "2025-03-31", "2025-04-01",
                                             "2025-04-02", "2025-04-03", "2025-04-04", "2025-04-05"};
  EXPECT_EQ(keys, expected);
}

TEST(SampleData, DashboardHasPersonalAndWorkAccountsSharingOneUsage) {
  const auto calendar = makeCalendar("UTC", testing::monday);
  const Date buildTime = 763291800;
  const ZeltoDashboardSnapshot dashboard = makeSampleDashboard(buildTime, calendar);
  EXPECT_EQ(dashboard.updatedAt, buildTime);
  ASSERT_EQ(dashboard.accounts.size(), 2u);
  const ZeltoAccountSnapshot& personal = dashboard.accounts[0];
  const ZeltoAccountSnapshot& work = dashboard.accounts[1];

  EXPECT_EQ(personal.id, "personal");
  EXPECT_EQ(personal.name, "Personal");
  EXPECT_EQ(personal.limits, makeSampleLimitSnapshot(buildTime));
  EXPECT_EQ(personal.usage, makeSampleUsageSnapshot(buildTime, calendar));
  EXPECT_EQ(personal.errorMessage, std::nullopt);

  EXPECT_EQ(work.id, "work");
  EXPECT_EQ(work.name, "Work");
  EXPECT_EQ(work.usage, personal.usage);
  EXPECT_EQ(work.errorMessage, std::nullopt);
  const ZeltoLimitSnapshot expectedWork{buildTime,
                                        "Business",
                                        {ZeltoLimitWindow{"work-300", "5-hour", 61, buildTime + 4440, 300},
                                         ZeltoLimitWindow{"work-10080", "Weekly", 23, buildTime + 432000, 10080}},
                                        std::nullopt,
                                        {}};
  EXPECT_EQ(work.limits, expectedWork);

  // Harmless addresses on domains reserved for examples.
  for (const auto& account : dashboard.accounts) {
    ASSERT_TRUE(account.email);
    EXPECT_TRUE(account.email->ends_with("@example.com")) << *account.email;
  }
  EXPECT_NE(personal.email, work.email);

  // Lowest remaining percentage: 56 for the personal account, 39 for work.
  auto lowestRemaining = [](const ZeltoAccountSnapshot& account) {
    std::int64_t lowest = 100;
    for (const auto& window : account.limits->windows) lowest = std::min(lowest, window.remainingPercent());
    return lowest;
  };
  EXPECT_EQ(lowestRemaining(personal), 56);
  EXPECT_EQ(lowestRemaining(work), 39);
}

struct BuildDay {
  const char* zone;
  int firstWeekday;
  int day;  // of March 2025: 10 is a Monday, 16 a Sunday
};

class SampleUsageWeeks : public ::testing::TestWithParam<BuildDay> {};

TEST_P(SampleUsageWeeks, CurrentWeekShowsDaysUpToTodayAndEarlierWeeksAreFull) {
  const auto calendar = makeCalendar(GetParam().zone, GetParam().firstWeekday);
  const Date buildTime = localDate(calendar, 2025, 3, GetParam().day, 10);
  const ZeltoDashboardSnapshot dashboard = makeSampleDashboard(buildTime, calendar);

  const auto current = usageWeek(dashboard, 0, calendar, buildTime);
  ASSERT_TRUE(current);
  EXPECT_EQ(current->todayTokens, 1240000);
  const std::int64_t daysIntoWeek = *calendar.daysBetween(current->startDate, buildTime);
  for (std::int64_t index = 0; index < 7; ++index) {
    const std::int64_t tokens = current->days[static_cast<std::size_t>(index)].tokens;
    if (index <= daysIntoWeek) {
      EXPECT_EQ(tokens, sampleTokens[static_cast<std::size_t>(13 - daysIntoWeek + index)]) << index;
    } else {
      EXPECT_EQ(tokens, 0) << index;
    }
  }

  const auto previous = usageWeek(dashboard, -1, calendar, buildTime);
  ASSERT_TRUE(previous);
  for (const auto& day : previous->days) EXPECT_GT(day.tokens, 0);
  EXPECT_EQ(previous->todayTokens, 0);

  // Both accounts share one usage value, so each shows the same week.
  EXPECT_EQ(week(*dashboard.accounts[0].usage, -1, calendar, buildTime),
            week(*dashboard.accounts[1].usage, -1, calendar, buildTime));

  // The oldest bucket lies 13 days back: two weeks, or one when today ends
  // the week.
  const bool lastDayOfWeek = daysIntoWeek == 6;
  EXPECT_EQ(earliestUsageWeekOffset(dashboard, calendar, buildTime), lastDayOfWeek ? -1 : -2);
}

INSTANTIATE_TEST_SUITE_P(BuildDays, SampleUsageWeeks,
                         ::testing::Values(BuildDay{"UTC", testing::monday, 10}, BuildDay{"UTC", testing::monday, 12},
                                           BuildDay{"UTC", testing::monday, 16}, BuildDay{"UTC", testing::sunday, 15},
                                           BuildDay{"UTC", testing::sunday, 16},
                                           BuildDay{"America/New_York", testing::sunday, 13},
                                           BuildDay{"Asia/Kolkata", testing::monday, 16},
                                           BuildDay{"Europe/Berlin", testing::monday, 30}));

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
  EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [&](auto* each) { return each == shared; }));

  // One racer's time became the build time; later calls change nothing.
  const Date buildTime = shared->updatedAt;
  EXPECT_EQ(std::fmod(buildTime - 763291800, 1000.0), 0.0);
  const auto other = makeCalendar("Asia/Kathmandu", testing::sunday);
  EXPECT_EQ(&ZeltoDashboardSnapshot::sample(0, other), shared);
  EXPECT_EQ(shared->updatedAt, buildTime);

  // Building the dashboard built the other two, and its first account holds
  // exactly those values.
  EXPECT_EQ(shared->accounts[0].limits, ZeltoLimitSnapshot::sample(0, other));
  EXPECT_EQ(shared->accounts[0].usage, ZeltoUsageSnapshot::sample(0, other));
  EXPECT_EQ(ZeltoLimitSnapshot::sample(0, other).fetchedAt, buildTime);
  EXPECT_EQ(*shared, makeSampleDashboard(buildTime, calendar));
}

}  // namespace
}  // namespace zelto
