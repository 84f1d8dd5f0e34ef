#include "widget/runtime/LimitTimelineProvider.hpp"

#include <gtest/gtest.h>

#include "platform/host/HostDriver.hpp"
#include "tests/platform/defaults/TemporaryFolder.hpp"
#include "tests/support/Dashboards.hpp"
#include "tests/support/Environments.hpp"
#include "widget/model/SampleData.hpp"

namespace zelto {
namespace {

using testing::day;

class LimitTimelineProviderTest : public ::testing::Test {
 protected:
  host::TimelineProviderContext context(bool isPreview = false) const {
    return {kit::WidgetFamily::systemLarge, isPreview, environment};
  }
  LimitEntry snapshot(bool isPreview = false) const { return driver.requestSnapshot(context(isPreview)); }
  host::Timeline<LimitEntry> timeline() const { return driver.requestTimeline(context()); }

  // A dashboard whose accounts have usage reaching back to each given day.
  ZeltoDashboardSnapshot dashboardReaching(const std::vector<Date>& oldestDays) const {
    ZeltoDashboardSnapshot dashboard{environment.now, {}};
    for (std::size_t i = 0; i < oldestDays.size(); ++i) {
      auto account = testing::plainAccount("account-" + std::to_string(i));
      account.usage = testing::usageOn({oldestDays[i], environment.now}, environment.calendar);
      dashboard.accounts.push_back(std::move(account));
    }
    return dashboard;
  }

  testing::TemporaryDirectory directory;
  SharedContainer container = testing::containerIn(directory.path());
  host::RequestEnvironment environment = testing::environmentAt();
  LimitTimelineProvider provider{container};
  host::WidgetCenter center;
  host::HostDriver<LimitEntry> driver{provider, center, "ZeltoLimitsWidget"};
};

TEST_F(LimitTimelineProviderTest, EmptySuiteGivesPlaceholderSampleAndNoDataElsewhere) {
  const LimitEntry placeholder = driver.requestPlaceholder(context());
  EXPECT_EQ(placeholder.date, environment.now);
  ASSERT_TRUE(placeholder.dashboard);
  EXPECT_EQ(placeholder.usageWeekOffset, 0);

  const LimitEntry noData{environment.now, std::nullopt, 0, std::nullopt};
  EXPECT_EQ(snapshot(), noData);
  const auto answer = timeline();
  EXPECT_EQ(answer.entries, std::vector{noData});
  EXPECT_EQ(answer.policy, host::TimelineReloadPolicy::after(environment.now + 900));
}

TEST_F(LimitTimelineProviderTest, PreviewSnapshotBoundsStoredOffsetBySampleHistory) {
  testing::storeOffset(container, -3);
  // The sample's oldest bucket lies 13 days back: two weeks on a Wednesday.
  const LimitEntry entry = snapshot(/*isPreview=*/true);
  EXPECT_EQ(entry.dashboard, ZeltoDashboardSnapshot::sample(environment.now, environment.calendar));
  EXPECT_EQ(entry.usageWeekOffset, -2);
}

TEST_F(LimitTimelineProviderTest, StoredOffsetIsBoundedByTheDashboardsReach) {
  constexpr auto lowest = std::numeric_limits<std::int64_t>::min();
  const Date now = environment.now;
  ZeltoDashboardSnapshot withoutUsage{now, {testing::plainAccount("a"), testing::plainAccount("b")}};
  withoutUsage.accounts[1].usage = ZeltoUsageSnapshot{};
  struct Case {
    std::int64_t stored;
    ZeltoDashboardSnapshot dashboard;
    std::int64_t shown;
  };
  const Case cases[] = {
      {-2, dashboardReaching({now - 35 * day, now - 7 * day}), -2},
      {-2, withoutUsage, 0},
      {4, dashboardReaching({now - 35 * day}), 0},
      {lowest, dashboardReaching({now - 14 * day}), -2},
  };
  for (const Case& c : cases) {
    testing::storeOffset(container, c.stored);
    testing::storeDashboard(container, c.dashboard);
    const LimitEntry entry = timeline().entries.at(0);
    EXPECT_EQ(entry.dashboard, c.dashboard);
    EXPECT_EQ(entry.usageWeekOffset, c.shown) << c.stored;
  }
  testing::suiteOf(container).setData(SharedSnapshotStore::dashboardKey, "{\"updatedAt\": \"yesterday\"}");
  EXPECT_EQ(timeline().entries.at(0), (LimitEntry{now, std::nullopt, 0, std::nullopt})) << "undecodable is no data";
}

TEST_F(LimitTimelineProviderTest, SuiteHeldByAnotherProcessIsATransientFailureNotNoData) {
  testing::storeDashboard(container, dashboardReaching({environment.now}));
  const defaults::testing::ExclusiveHolder holder(testing::suiteOf(container).path(), 10'000);
  const auto answer = timeline();
  ASSERT_EQ(answer.entries.size(), 1u);
  EXPECT_EQ(answer.entries[0].dashboard, std::nullopt);
  ASSERT_TRUE(answer.entries[0].transientFailure);
  EXPECT_NE(answer.entries[0].transientFailure->find("locked"), std::string::npos);
  EXPECT_EQ(answer.policy, host::TimelineReloadPolicy::after(environment.now + 2));
}

}  // namespace
}  // namespace zelto
