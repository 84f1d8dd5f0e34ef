#include "widget/runtime/LimitTimelineProvider.hpp"

#include <gtest/gtest.h>

#include "platform/host/HostDriver.hpp"
#include "tests/support/Dashboards.hpp"
#include "tests/support/Environments.hpp"
#include "tests/support/TemporaryDirectory.hpp"
#include "widget/model/SampleData.hpp"
#include "widget/model/UsageHistoryBounds.hpp"
#include "widget/runtime/ZeltoLimitsWidget.hpp"

namespace zelto {
namespace {

using testing::day;
using testing::environmentIn;

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
  host::RequestEnvironment environment = environmentIn(directory.path());
  LimitTimelineProvider provider;
  host::WidgetCenter center;
  host::HostDriver<LimitEntry> driver{provider, center, std::string(ZeltoLimitsWidget::kind)};
};

TEST_F(LimitTimelineProviderTest, EmptySuiteGivesPlaceholderSampleAndNoDataElsewhere) {
  const LimitEntry placeholder = driver.requestPlaceholder(context());
  EXPECT_EQ(placeholder.date, environment.now);
  ASSERT_TRUE(placeholder.dashboard);
  EXPECT_EQ(placeholder.dashboard->accounts.size(), 2u);
  EXPECT_EQ(placeholder.usageWeekOffset, 0);

  EXPECT_EQ(snapshot(), (LimitEntry{environment.now, std::nullopt, 0}));
  const auto answer = timeline();
  ASSERT_EQ(answer.entries.size(), 1u);
  EXPECT_EQ(answer.entries[0], (LimitEntry{environment.now, std::nullopt, 0}));
}

TEST_F(LimitTimelineProviderTest, TimelineHoldsOneEntryAndReloadsAfterFifteenMinutes) {
  testing::storeDashboard(environment, dashboardReaching({environment.now}));
  const auto answer = timeline();
  ASSERT_EQ(answer.entries.size(), 1u);
  EXPECT_TRUE(answer.entries[0].dashboard);
  EXPECT_EQ(answer.policy, host::TimelineReloadPolicy::after(environment.now + 900));
}

TEST_F(LimitTimelineProviderTest, PreviewSnapshotBoundsStoredOffsetBySampleHistory) {
  testing::storeOffset(environment, -3);
  // The sample's oldest bucket lies 13 days back: two weeks, or one when the
  // sample is built on the last day of a week.
  const LimitEntry entry = snapshot(/*isPreview=*/true);
  ASSERT_TRUE(entry.dashboard);
  EXPECT_EQ(*entry.dashboard, ZeltoDashboardSnapshot::sample(environment.now, environment.calendar));
  EXPECT_EQ(entry.usageWeekOffset, earliestUsageWeekOffset(*entry.dashboard, environment.calendar, environment.now));
  EXPECT_TRUE(entry.usageWeekOffset == -2 || entry.usageWeekOffset == -1);
}

TEST_F(LimitTimelineProviderTest, PreviewSnapshotOnLastDayOfWeekReachesOneWeekBack) {
  // Sunday 2025-03-16 with Monday weeks: 13 days back is Monday 2025-03-03,
  // the previous week.
  const auto sunday = environmentIn(directory.path(), testing::wednesdayMorning + 4 * day);
  testing::storeOffset(sunday, -3);
  const auto sample = makeSampleDashboard(sunday.now, sunday.calendar);
  EXPECT_EQ(earliestUsageWeekOffset(sample, sunday.calendar, sunday.now), -1);
  EXPECT_EQ(LimitTimelineProvider::makeEntry(sample, sunday).usageWeekOffset, -1);
  // On the Wednesday the same history reaches two weeks back.
  const auto sampleWednesday = makeSampleDashboard(environment.now, environment.calendar);
  EXPECT_EQ(LimitTimelineProvider::makeEntry(sampleWednesday, environment).usageWeekOffset, -2);
}

TEST_F(LimitTimelineProviderTest, StoredOffsetWithinReachIsKept) {
  testing::storeOffset(environment, -2);
  testing::storeDashboard(environment, dashboardReaching({environment.now - 35 * day, environment.now - 7 * day}));
  EXPECT_EQ(timeline().entries[0].usageWeekOffset, -2);
}

TEST_F(LimitTimelineProviderTest, OffsetCollapsesToCurrentWeekWithoutUsage) {
  testing::storeOffset(environment, -2);
  ZeltoDashboardSnapshot dashboard{environment.now, {testing::plainAccount("a"), testing::plainAccount("b")}};
  dashboard.accounts[1].usage = ZeltoUsageSnapshot{};
  testing::storeDashboard(environment, dashboard);
  const auto entry = timeline().entries[0];
  EXPECT_TRUE(entry.dashboard);
  EXPECT_EQ(entry.usageWeekOffset, 0);
}

TEST_F(LimitTimelineProviderTest, PositiveStoredOffsetReadsAsCurrentWeek) {
  testing::storeOffset(environment, 4);
  testing::storeDashboard(environment, dashboardReaching({environment.now - 35 * day}));
  EXPECT_EQ(timeline().entries[0].usageWeekOffset, 0);
}

TEST_F(LimitTimelineProviderTest, ExtremeStoredOffsetIsPulledToOldestData) {
  testing::storeOffset(environment, std::numeric_limits<std::int64_t>::min());
  testing::storeDashboard(environment, dashboardReaching({environment.now - 14 * day}));
  EXPECT_EQ(timeline().entries[0].usageWeekOffset, -2);
}

TEST_F(LimitTimelineProviderTest, UndecodableSnapshotIsNoData) {
  testing::storeOffset(environment, -1);
  testing::suiteOf(environment).setData(SharedSnapshotStore::dashboardKey, "{\"updatedAt\": \"yesterday\"}");
  EXPECT_EQ(timeline().entries[0], (LimitEntry{environment.now, std::nullopt, 0}));
}

TEST(ZeltoLimitsWidgetDeclaration, KindMatchesWhatIntentsReload) {
  EXPECT_EQ(ZeltoLimitsWidget::kind, "ZeltoLimitsWidget");
  EXPECT_EQ(ZeltoLimitsWidget::kind, zeltoLimitsWidgetKind);
  EXPECT_EQ(ZeltoLimitsWidget::displayName, "Zelto Limits");
  EXPECT_EQ(
      ZeltoLimitsWidget::supportedFamilies,
      (std::array{kit::WidgetFamily::systemSmall, kit::WidgetFamily::systemMedium, kit::WidgetFamily::systemLarge}));
}

}  // namespace
}  // namespace zelto
