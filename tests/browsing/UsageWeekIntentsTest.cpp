#include "widget/browsing/UsageWeekIntents.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "tests/support/Dashboards.hpp"
#include "tests/support/Environments.hpp"
#include "tests/support/TemporaryDirectory.hpp"
#include "widget/model/WidgetKind.hpp"

namespace zelto {
namespace {

using testing::day;

class UsageWeekIntentsTest : public ::testing::Test {
 protected:
  // Usage whose oldest bucket lies `weeksBack` calendar weeks back.
  void storeUsageReaching(int weeksBack) {
    auto account = testing::plainAccount("a");
    account.usage = testing::usageOn({environment.now - weeksBack * 7 * day}, environment.calendar);
    testing::storeDashboard(environment, ZeltoDashboardSnapshot{environment.now, {account}});
  }

  std::optional<std::int64_t> run(const host::AppIntent& intent) {
    intent.perform(host::IntentContext{environment, center});
    reloads.push_back(center.takeRequestedReloads());
    return testing::storedOffset(environment);
  }

  testing::TemporaryDirectory directory;
  host::RequestEnvironment environment = testing::environmentIn(directory.path());
  host::WidgetCenter center;
  std::vector<std::vector<std::string>> reloads;
  PreviousUsageWeekIntent previous;
  NextUsageWeekIntent next;
};

TEST_F(UsageWeekIntentsTest, PreviousStopsAtOldestWeekWithData) {
  storeUsageReaching(3);
  testing::storeOffset(environment, 0);
  EXPECT_EQ(run(previous), -1);
  EXPECT_EQ(run(previous), -2);
  EXPECT_EQ(run(previous), -3);
  EXPECT_EQ(run(previous), -3);
}

TEST_F(UsageWeekIntentsTest, NextStopsAtCurrentWeek) {
  storeUsageReaching(3);
  testing::storeOffset(environment, -3);
  EXPECT_EQ(run(next), -2);
  testing::storeOffset(environment, 0);
  EXPECT_EQ(run(next), 0);
}

TEST_F(UsageWeekIntentsTest, OffsetOutsideRangeIsPulledIntoIt) {
  storeUsageReaching(4);
  testing::storeOffset(environment, -10);
  EXPECT_EQ(run(previous), -4);
  testing::storeOffset(environment, -10);
  EXPECT_EQ(run(next), -4);
}

TEST_F(UsageWeekIntentsTest, WithoutUsageOrDashboardTheOffsetResets) {
  // No dashboard at all.
  testing::storeOffset(environment, -2);
  EXPECT_EQ(run(previous), 0);
  testing::storeOffset(environment, -2);
  EXPECT_EQ(run(next), 0);
  // A dashboard without usage buckets.
  testing::storeDashboard(environment, ZeltoDashboardSnapshot{environment.now, {testing::plainAccount("a")}});
  testing::storeOffset(environment, -2);
  EXPECT_EQ(run(previous), 0);
}

TEST_F(UsageWeekIntentsTest, EveryRunReloadsTheWidgetKindOnce) {
  storeUsageReaching(1);
  run(previous);
  run(next);
  run(next);
  ASSERT_EQ(reloads.size(), 3u);
  for (const auto& kinds : reloads) EXPECT_EQ(kinds, std::vector<std::string>{std::string(zeltoLimitsWidgetKind)});
}

TEST_F(UsageWeekIntentsTest, DeclaredMetadata) {
  EXPECT_EQ(previous.title(), "Previous Zelto Usage Week");
  EXPECT_EQ(next.title(), "Next Zelto Usage Week");
  EXPECT_FALSE(previous.openAppWhenRun());
  EXPECT_FALSE(next.openAppWhenRun());
  EXPECT_NE(previous.identifier(), next.identifier());
}

TEST(SteppedWeekOffset, NeverOverflows) {
  const auto calendar = *locale::Calendar::make("UTC", 2);
  const Date now = testing::wednesdayMorning;
  auto account = testing::plainAccount("a");
  account.usage = testing::usageOn({now - 14 * day}, calendar);
  const std::optional<ZeltoDashboardSnapshot> dashboard = ZeltoDashboardSnapshot{now, {account}};
  constexpr auto lowest = std::numeric_limits<std::int64_t>::min();
  constexpr auto highest = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(steppedWeekOffset(dashboard, lowest, -1, calendar, now), -2);
  EXPECT_EQ(steppedWeekOffset(dashboard, highest, 1, calendar, now), 0);
  EXPECT_EQ(steppedWeekOffset(std::nullopt, lowest, -1, calendar, now), 0);
}

}  // namespace
}  // namespace zelto
