#include "widget/model/UsageWeek.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "tests/model/ModelTestSupport.hpp"
#include "widget/model/UsageHistoryBounds.hpp"

namespace zelto {
namespace {

using testing::localDate;
using testing::makeCalendar;

ZeltoUsageSnapshot usageWith(std::vector<ZeltoUsageDay> buckets) {
  ZeltoUsageSnapshot usage;
  usage.dailyUsageBuckets = std::move(buckets);
  usage.summary.currentStreakDays = 6;
  return usage;
}

const ZeltoUsageSnapshot marchUsage = usageWith({{"2025-03-09", 1240000}, {"2025-03-10", 420000}});

std::vector<std::int64_t> tokensOf(const ZeltoUsageWeek& week) {
  std::vector<std::int64_t> tokens;
  for (const auto& day : week.days) tokens.push_back(day.tokens);
  return tokens;
}

// The same wall-clock facts hold in every zone: the week is built from local
// days, whatever the offset from UTC.
TEST(UsageWeek, WeeksAreBuiltFromLocalDaysInEveryZone) {
  for (const char* zone : {"UTC", "America/New_York", "Europe/Berlin", "Asia/Kolkata", "Asia/Kathmandu",
                           "Pacific/Chatham", "America/St_Johns"}) {
    SCOPED_TRACE(zone);
    const auto monday = makeCalendar(zone, testing::monday);
    const Date now = localDate(monday, 2025, 3, 12, 10);  // Wednesday
    const auto current = week(marchUsage, 0, monday, now);
    ASSERT_TRUE(current);
    EXPECT_EQ(current->offset, 0);
    EXPECT_EQ(current->startDate, localDate(monday, 2025, 3, 10));
    EXPECT_EQ(current->endDate, localDate(monday, 2025, 3, 16));
    for (int index = 0; index < 7; ++index) {
      EXPECT_EQ(current->days[static_cast<std::size_t>(index)].date, localDate(monday, 2025, 3, 10 + index));
    }
    EXPECT_EQ(tokensOf(*current), (std::vector<std::int64_t>{420000, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(current->todayTokens, 0);
    EXPECT_EQ(current->totalTokens, 420000);
    EXPECT_EQ(current->peakTokens, 420000);
    EXPECT_TRUE(current->isCurrentWeek);
    EXPECT_EQ(current->currentStreakDays, 6);

    const auto previous = week(marchUsage, -1, monday, now);
    ASSERT_TRUE(previous);
    EXPECT_EQ(previous->startDate, localDate(monday, 2025, 3, 3));
    EXPECT_EQ(tokensOf(*previous), (std::vector<std::int64_t>{0, 0, 0, 0, 0, 0, 1240000}));
    EXPECT_FALSE(previous->isCurrentWeek);

    const auto sunday = makeCalendar(zone, testing::sunday);
    const auto sundayWeek = week(marchUsage, 0, sunday, now);
    ASSERT_TRUE(sundayWeek);
    EXPECT_EQ(sundayWeek->startDate, localDate(sunday, 2025, 3, 9));
    EXPECT_EQ(tokensOf(*sundayWeek), (std::vector<std::int64_t>{1240000, 420000, 0, 0, 0, 0, 0}));
    EXPECT_EQ(sundayWeek->totalTokens, 1660000);
    EXPECT_EQ(sundayWeek->peakTokens, 1240000);

    // Today is the local day of now, from its first hour to its last.
    const auto usage = usageWith({{"2025-03-11", 5}, {"2025-03-12", 7}});
    for (int hour : {0, 23}) EXPECT_EQ(week(usage, 0, monday, localDate(monday, 2025, 3, 12, hour))->todayTokens, 7);
  }
}

TEST(UsageWeek, WeekWithDaylightSavingChangeStillHasSevenLocalDays) {
  const auto calendar = makeCalendar("Europe/Berlin", testing::monday);
  std::vector<ZeltoUsageDay> buckets;
  for (int day = 24; day <= 30; ++day) buckets.push_back({"2025-03-" + std::to_string(day), day});
  const auto usage = usageWith(buckets);

  const auto dstWeek = week(usage, 0, calendar, localDate(calendar, 2025, 3, 30, 12));
  ASSERT_TRUE(dstWeek);
  EXPECT_EQ(tokensOf(*dstWeek), (std::vector<std::int64_t>{24, 25, 26, 27, 28, 29, 30}));
  EXPECT_EQ(dstWeek->endDate, localDate(calendar, 2025, 3, 30));
  EXPECT_EQ(dstWeek->todayTokens, 30);

  // Stepping back from the summer-time week lands on local midnight again,
  // though the week in between is an hour short.
  const Date afterChange = localDate(calendar, 2025, 4, 2, 12);
  const auto back = week(usage, -1, calendar, afterChange);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->startDate, localDate(calendar, 2025, 3, 24));
  EXPECT_EQ(back->startDate, dstWeek->startDate);
  EXPECT_EQ(tokensOf(*back), tokensOf(*dstWeek));
}

TEST(UsageWeek, SundayWeekStartingOnTheDaylightSavingDay) {
  const auto calendar = makeCalendar("America/New_York", testing::sunday);
  const auto usage = usageWith({{"2025-03-09", 1}, {"2025-03-15", 2}});
  const auto current = week(usage, 0, calendar, localDate(calendar, 2025, 3, 15, 23));
  ASSERT_TRUE(current);
  EXPECT_EQ(current->startDate, localDate(calendar, 2025, 3, 9));
  EXPECT_EQ(current->days[1].date - current->days[0].date, 23 * 3600.0);  // the short day
  EXPECT_EQ(tokensOf(*current), (std::vector<std::int64_t>{1, 0, 0, 0, 0, 0, 2}));
  EXPECT_EQ(current->todayTokens, 2);
}

TEST(UsageWeek, BucketRules) {
  const auto calendar = makeCalendar("UTC", testing::monday);
  const Date now = localDate(calendar, 2025, 3, 12, 10);
  struct Case {
    const char* name;
    std::vector<ZeltoUsageDay> buckets;
    std::vector<std::int64_t> tokens;
  };
  const std::vector<Case> cases = {
      {"LaterDuplicateReplaces", {{"2025-03-11", 500}, {"2025-03-11", 700}}, {0, 700, 0, 0, 0, 0, 0}},
      {"NotSummed", {{"2025-03-11", 700}, {"2025-03-11", 500}}, {0, 500, 0, 0, 0, 0, 0}},
      {"NegativeCountsAsZero", {{"2025-03-10", -50}, {"2025-03-11", 3}}, {0, 3, 0, 0, 0, 0, 0}},
      {"NegativeLaterReplacesPositive", {{"2025-03-10", 9}, {"2025-03-10", -1}}, {0, 0, 0, 0, 0, 0, 0}},
      {"UnpaddedKeyNeverMatches", {{"2025-3-10", 5}, {"2025-03-10 ", 6}, {"garbage", 7}}, {0, 0, 0, 0, 0, 0, 0}},
      {"KeysOutsideTheWeekIgnored", {{"2025-03-09", 5}, {"2025-03-17", 6}}, {0, 0, 0, 0, 0, 0, 0}}};
  for (const Case& c : cases) {
    const auto current = week(usageWith(c.buckets), 0, calendar, now);
    ASSERT_TRUE(current) << c.name;
    EXPECT_EQ(tokensOf(*current), c.tokens) << c.name;
  }
}

TEST(UsageWeek, TotalsSaturateInsteadOfOverflowing) {
  const auto calendar = makeCalendar("UTC", testing::monday);
  constexpr std::int64_t maximum = std::numeric_limits<std::int64_t>::max();
  const auto usage = usageWith({{"2025-03-10", maximum}, {"2025-03-11", maximum}, {"2025-03-12", 1}});
  const auto current = week(usage, 0, calendar, localDate(calendar, 2025, 3, 12, 10));
  ASSERT_TRUE(current);
  EXPECT_EQ(current->totalTokens, maximum);
  EXPECT_EQ(current->peakTokens, maximum);
  EXPECT_EQ(current->todayTokens, 1);
}

TEST(UsageWeek, OffsetsAreClampedAndExtremeOffsetsFailQuietly) {
  const auto calendar = makeCalendar("UTC", testing::monday);
  const Date now = localDate(calendar, 2025, 3, 12, 10);
  const auto current = week(marchUsage, 0, calendar, now);
  for (std::int64_t offset : {std::int64_t{3}, std::numeric_limits<std::int64_t>::max()}) {
    const auto clamped = week(marchUsage, offset, calendar, now);
    ASSERT_TRUE(clamped);
    EXPECT_EQ(*clamped, *current) << offset;
  }
  EXPECT_EQ(week(marchUsage, std::numeric_limits<std::int64_t>::min(), calendar, now), std::nullopt);
  EXPECT_EQ(week(marchUsage, -(std::int64_t{1} << 40), calendar, now), std::nullopt);

  const auto farBack = week(marchUsage, -1000, calendar, now);
  ASSERT_TRUE(farBack);
  EXPECT_EQ(farBack->offset, -1000);
  EXPECT_EQ(farBack->totalTokens, 0);
}

TEST(UsageWeek, NoBucketsOrInstantsNoCalendarCanPlaceGiveNoWeek) {
  const auto calendar = makeCalendar("UTC", testing::monday);
  EXPECT_EQ(week(usageWith({}), 0, calendar, 763291800), std::nullopt);
  ZeltoDashboardSnapshot dashboard;
  dashboard.accounts.push_back(ZeltoAccountSnapshot{"a", "", std::nullopt, std::nullopt, marchUsage, std::nullopt});
  for (Date now : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), -1e300}) {
    EXPECT_EQ(week(marchUsage, 0, calendar, now), std::nullopt) << now;
    EXPECT_EQ(usageWeek(dashboard, -1, calendar, now), std::nullopt) << now;
  }
}

TEST(UsageWeek, DashboardShowsTheFirstAccountWithBuckets) {
  const auto calendar = makeCalendar("UTC", testing::monday);
  const Date now = localDate(calendar, 2025, 3, 12, 10);
  ZeltoDashboardSnapshot dashboard;
  dashboard.accounts = {
      ZeltoAccountSnapshot{"none", "", std::nullopt, std::nullopt, std::nullopt, std::nullopt},
      ZeltoAccountSnapshot{"empty", "", std::nullopt, std::nullopt, usageWith({}), std::nullopt},
      ZeltoAccountSnapshot{"second", "", std::nullopt, std::nullopt, usageWith({{"2025-03-10", 11}}), std::nullopt},
      ZeltoAccountSnapshot{"third", "", std::nullopt, std::nullopt, usageWith({{"2025-03-10", 22}, {"2025-01-01", 1}}),
                           std::nullopt}};
  const auto shown = usageWeek(dashboard, 0, calendar, now);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->days[0].tokens, 11);  // never summed with the third account

  // The bound comes from every account: the third reaches back to the week of
  // 2025-01-01 (ten weeks), though the shown account has one week of data.
  const auto bounded = usageWeek(dashboard, -1000, calendar, now);
  ASSERT_TRUE(bounded);
  EXPECT_EQ(bounded->offset, -10);
  EXPECT_EQ(bounded->offset, earliestUsageWeekOffset(dashboard, calendar, now));
  EXPECT_EQ(usageWeek(dashboard, std::numeric_limits<std::int64_t>::min(), calendar, now)->offset, -10);

  const auto ahead = usageWeek(dashboard, 3, calendar, now);
  ASSERT_TRUE(ahead);
  EXPECT_EQ(ahead->offset, 0);
  EXPECT_TRUE(ahead->isCurrentWeek);

  dashboard.accounts.erase(dashboard.accounts.begin() + 2, dashboard.accounts.end());
  EXPECT_EQ(usageWeek(dashboard, 0, calendar, now), std::nullopt);
}

}  // namespace
}  // namespace zelto
