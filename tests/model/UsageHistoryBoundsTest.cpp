#include "widget/model/UsageHistoryBounds.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tests/model/ModelTestSupport.hpp"

namespace zelto {
namespace {

using testing::localDate;
using testing::makeCalendar;

ZeltoUsageSnapshot usageWithKeys(const std::vector<std::string>& keys) {
  ZeltoUsageSnapshot usage;
  for (const auto& key : keys) usage.dailyUsageBuckets.push_back({key, 1});
  return usage;
}

TEST(DayKey, IsTheLocalGregorianDayZeroPaddedInTheCalendarsZone) {
  // 2025-03-09T18:15:00Z is local midnight of 2025-03-10 in Kathmandu (+5:45).
  const Date midnightInKathmandu = 763236900;
  const auto utc = makeCalendar("UTC", testing::monday);
  struct Case {
    const char* zone;
    Date date;
    const char* key;
  };
  const Case cases[] = {
      {"UTC", 763291800, "2025-03-10"},
      {"UTC", -978307200, "1970-01-01"},
      {"UTC", localDate(utc, 987, 6, 5, 12), "0987-06-05"},
      {"UTC", localDate(utc, 12345, 1, 2, 12), "12345-01-02"},
      // Years before year 1 count on through 0 and below; the sign takes one
      // of the four places, as printf pads it.
      {"UTC", localDate(utc, -5, 3, 1, 12), "-005-03-01"},
      {"UTC", localDate(utc, 0, 12, 31, 12), "0000-12-31"},
      {"UTC", std::numeric_limits<double>::quiet_NaN(), "0000-00-00"},
      {"Asia/Kathmandu", midnightInKathmandu, "2025-03-10"},
      {"Asia/Kathmandu", midnightInKathmandu - 1, "2025-03-09"},
      {"Asia/Kolkata", midnightInKathmandu, "2025-03-09"},  // 23:45 in +5:30
      {"Pacific/Kiritimati", midnightInKathmandu, "2025-03-10"},  // +14:00
      {"Pacific/Pago_Pago", 763291800, "2025-03-09"},             // -11:00
  };
  for (const Case& c : cases) EXPECT_EQ(dayKey(c.date, makeCalendar(c.zone, testing::sunday)), c.key) << c.zone;
}

TEST(DateFromDayKey, GivesNoonOfTheNamedDayOrNothing) {
  const auto calendar = makeCalendar("Asia/Kathmandu", testing::monday);
  const Date ninth = localDate(calendar, 2025, 3, 9, 12);
  const std::pair<std::string, std::optional<Date>> cases[] = {
      {"2025-03-09", ninth},         {"2025-3-9", ninth},       {"--2025--03--09--", ninth},
      {"2025-x-03-09-", ninth},      {"+2025-03-09", {}},        {"2025-03", {}},
      {"2025-03-09-01", {}},         {"", {}},                   {"---", {}},
      {" 2025-03-09", {}},           {"2025-03-09T10:00", {}},   {"99999999999999999999-03-09", {}},
      {"2025/03/09", {}},
  };
  for (const auto& [key, noon] : cases) EXPECT_EQ(dateFromDayKey(key, calendar), noon) << key;
}

TEST(DateFromDayKey, RoundTripsWithDayKeyInEveryZone) {
  for (const char* zone : {"UTC", "Europe/Berlin", "Asia/Kathmandu", "Pacific/Chatham", "America/Los_Angeles"}) {
    const auto calendar = makeCalendar(zone, testing::monday);
    for (const char* key : {"2025-03-30", "2025-10-26", "2024-02-29", "1601-01-01", "0987-12-31"}) {
      const auto date = dateFromDayKey(key, calendar);
      ASSERT_TRUE(date) << zone << " " << key;
      EXPECT_EQ(dayKey(*date, calendar), key) << zone;
    }
  }
}

TEST(EarliestWeekOffset, CountsWholeCalendarWeeksBack) {
  struct Case {
    const char* zone;
    int firstWeekday;
    std::vector<std::string> keys;
    std::int64_t offset;
  };
  const Case cases[] = {
      // Eleven days before the Monday 2025-03-10: in the week before last.
      {"UTC", testing::monday, {"2025-03-11", "2025-02-27"}, -2},
      {"UTC", testing::sunday, {"2025-03-11", "2025-02-27"}, -2},
      {"UTC", testing::monday, {"2025-03-10", "2025-03-12"}, 0},
      {"UTC", testing::monday, {"2025-03-20", "2026-01-01"}, 0},  // only future buckets
      {"UTC", testing::monday, {"2025-3-9"}, -1},
      {"UTC", testing::monday, {"garbage", "2025-03-03", "2025"}, -1},
      {"UTC", testing::monday, {"garbage"}, 0},
      {"UTC", testing::monday, {}, 0},
      {"UTC", testing::monday, {"2025-03-01", "2025-02-01", "2025-03-05"}, -6},
      {"UTC", testing::monday, {"1900-01-01"}, -6532},
      // Summer time ended in between; the week of 2024-10-14 is 21 weeks back.
      {"Europe/Berlin", testing::monday, {"2024-10-20"}, -21},
      {"Asia/Kathmandu", testing::sunday, {"2025-03-08"}, -1},
      {"Asia/Kolkata", testing::sunday, {"2025-03-09"}, 0},
  };
  // "Now" is Wednesday 2025-03-12 10:00 local time in every case.
  for (const Case& c : cases) {
    const auto calendar = makeCalendar(c.zone, c.firstWeekday);
    const Date now = localDate(calendar, 2025, 3, 12, 10);
    EXPECT_EQ(earliestWeekOffset(usageWithKeys(c.keys), calendar, now), c.offset) << c.zone << " " << c.keys.size();
  }
}

TEST(EarliestWeekOffsetAcrossDaylightSaving, SpringForwardWeekCountsAsOneWeek) {
  const auto calendar = makeCalendar("Europe/Berlin", testing::monday);
  // Monday 2025-03-31, the first week after the change; the week before it
  // is 167 hours long.
  const Date now = localDate(calendar, 2025, 3, 31, 0);
  EXPECT_EQ(earliestWeekOffset(usageWithKeys({"2025-03-24"}), calendar, now), -1);
  EXPECT_EQ(earliestWeekOffset(usageWithKeys({"2025-03-30"}), calendar, now), -1);
  EXPECT_EQ(earliestWeekOffset(usageWithKeys({"2025-03-23"}), calendar, now), -2);
}

TEST(EarliestWeekOffsetWithoutACalendarAnswer, StaysAtTheCurrentWeek) {
  const auto calendar = makeCalendar("UTC", testing::monday);
  const auto usage = usageWithKeys({"2025-01-01"});
  for (Date now : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300}) {
    EXPECT_EQ(earliestWeekOffset(usage, calendar, now), 0) << now;
  }
}

TEST(EarliestUsageWeekOffset, IsTheSmallestOverAccountsWithBuckets) {
  const auto calendar = makeCalendar("UTC", testing::monday);
  const Date now = localDate(calendar, 2025, 3, 12, 10);
  auto account = [](std::optional<ZeltoUsageSnapshot> usage) {
    return ZeltoAccountSnapshot{"a", "", std::nullopt, std::nullopt, std::move(usage), std::nullopt};
  };
  ZeltoDashboardSnapshot dashboard;
  EXPECT_EQ(earliestUsageWeekOffset(dashboard, calendar, now), 0);

  dashboard.accounts = {account(std::nullopt), account(usageWithKeys({}))};
  EXPECT_EQ(earliestUsageWeekOffset(dashboard, calendar, now), 0);

  // Oldest buckets five and one weeks back.
  dashboard.accounts.push_back(account(usageWithKeys({"2025-02-04"})));
  dashboard.accounts.push_back(account(usageWithKeys({"2025-03-04"})));
  dashboard.accounts.push_back(account(usageWithKeys({"garbage"})));
  EXPECT_EQ(earliestUsageWeekOffset(dashboard, calendar, now), -5);
}

TEST(WeekOffsetBound, NeverAboveTheCurrentWeekNorBelowTheFloor) {
  constexpr auto lowest = std::numeric_limits<std::int64_t>::min();
  constexpr auto highest = std::numeric_limits<std::int64_t>::max();
  // offset, floor, bounded
  const std::array<std::int64_t, 3> cases[] = {
      {-2, -5, -2}, {-7, -5, -5}, {3, -5, 0}, {0, 0, 0}, {-1, 0, 0}, {highest, lowest, 0}, {lowest, lowest, lowest},
  };
  for (const auto& [offset, floor, bounded] : cases) {
    EXPECT_EQ(boundedWeekOffset(offset, floor), bounded) << offset << " " << floor;
  }
}

// The earliest offset must equal what placing every key by the calendar
// gives, whatever mix of ordinary and out-of-range keys the buckets hold.
TEST(EarliestWeekOffset, AgreesWithPlacingEveryKeyOnItsOwn) {
  const auto calendar = testing::makeCalendar("America/New_York", 1);
  const Date now = 763466400;
  std::mt19937 random(20250312);
  std::uniform_int_distribution<int> year(1500, 2030), month(-1, 14), day(-2, 33), count(1, 12);
  for (int round = 0; round < 300; ++round) {
    ZeltoUsageSnapshot usage;
    std::optional<Date> naiveEarliest;
    for (int i = count(random); i > 0; --i) {
      char key[40];
      std::snprintf(key, sizeof key, "%04d-%02d-%02d", year(random), month(random), day(random));
      usage.dailyUsageBuckets.push_back({key, 1});
      const auto date = dateFromDayKey(key, calendar);
      if (date && (!naiveEarliest || *date < *naiveEarliest)) naiveEarliest = date;
    }
    std::int64_t expected = 0;
    if (naiveEarliest) {
      const auto days = calendar.daysBetween(calendar.weekInterval(*naiveEarliest)->start,
                                             calendar.weekInterval(now)->start);
      expected = -(std::max<std::int64_t>(*days, 0) / 7);
    }
    ASSERT_EQ(earliestWeekOffset(usage, calendar, now), expected) << "round " << round;
  }
}

}  // namespace
}  // namespace zelto
