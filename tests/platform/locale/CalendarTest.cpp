#include "platform/locale/Calendar.hpp"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <thread>
#include <vector>

namespace zelto::locale {
namespace {

// Instants below are written as Unix seconds (checked against the system's
// zone database with date(1)) and converted to reference-date seconds.
constexpr Date fromUnix(double unixSeconds) { return unixSeconds - referenceDateUnixSeconds; }

constexpr double hour = 3600;
constexpr double day = 86400;
constexpr double week = 7 * day;
constexpr int sunday = 1;
constexpr int monday = 2;

Calendar calendar(const std::string& zone, int firstWeekday) {
  auto made = Calendar::make(zone, firstWeekday);
  EXPECT_TRUE(made.has_value()) << zone;
  return made.value_or(*Calendar::make("UTC", firstWeekday));
}

TEST(CalendarMake, AcceptsKnownZonesAndWeekdaysOnly) {
  const auto berlin = calendar("Europe/Berlin", monday);
  EXPECT_EQ(berlin.timeZoneId(), "Europe/Berlin");
  EXPECT_EQ(berlin.firstWeekday(), monday);
  for (const std::string zone : {"Nowhere/City", "", "Etc/Unknown", "Europe/Berlin\n", "not a zone"}) {
    EXPECT_FALSE(Calendar::make(zone, monday).has_value()) << zone;
  }
  for (const int weekday : {0, 8, -1}) EXPECT_FALSE(Calendar::make("UTC", weekday).has_value()) << weekday;
  const auto newYork = berlin.withTimeZone("America/New_York");
  ASSERT_TRUE(newYork.has_value());
  EXPECT_EQ(newYork->firstWeekday(), monday);
  EXPECT_FALSE(berlin.withTimeZone("Nowhere/City").has_value());
}

TEST(WeekInterval, StartsAtTheMostRecentFirstWeekday) {
  struct Case {
    const char* zone;
    int firstWeekday;
    double instant;  // Unix seconds
    double start;    // Unix seconds
    double duration;
  };
  const Case cases[] = {// Wednesday 2025-03-12 10:00Z.
                        {"UTC", sunday, 1741773600, 1741478400, week},
                        {"UTC", monday, 1741773600, 1741564800, week},
                        // The week of Monday 2025-03-24 holds the switch to summer time on
                        // Sunday 2025-03-30: one hour shorter.
                        {"Europe/Berlin", monday, 1743246000, 1742770800, week - hour},
                        {"Europe/Berlin", monday, 1743298200, 1742770800, week - hour},
                        {"Europe/Berlin", sunday, 1743328800, 1743289200, week - hour},
                        // Sunday 2025-11-02 ends summer time at its start: one hour longer.
                        {"America/New_York", sunday, 1762362000, 1762056000, week + hour},
                        // 02:00 on Monday in India is still Sunday in UTC.
                        {"Asia/Kolkata", monday, 1741552200, 1741545000, week},
                        {"Asia/Kolkata", sunday, 1741552200, 1741545000 - day, week},
                        // Lord Howe Island sets its clocks back by half an hour.
                        {"Australia/Lord_Howe", monday, 1743903000, 1743339600, week + hour / 2},
                        {"Asia/Kathmandu", monday, 1741745700, 1741544100, week}};
  for (const Case& c : cases) {
    const auto interval = calendar(c.zone, c.firstWeekday).weekInterval(fromUnix(c.instant));
    ASSERT_TRUE(interval.has_value()) << c.zone;
    EXPECT_DOUBLE_EQ(interval->start, fromUnix(c.start)) << c.zone << " " << c.instant;
    EXPECT_DOUBLE_EQ(interval->duration, c.duration) << c.zone << " " << c.instant;
  }
}

TEST(WeekInterval, HoldsItsInvariantsForRandomInstantsAndZones) {
  std::mt19937_64 random(20250330);
  std::uniform_real_distribution<double> instants(fromUnix(-2208988800), fromUnix(4102444800));  // 1900 to 2100
  const std::vector<Calendar> calendars{calendar("UTC", sunday), calendar("Europe/Berlin", monday),
                                        calendar("America/New_York", sunday), calendar("Australia/Lord_Howe", 7),
                                        calendar("Asia/Kathmandu", 4)};
  for (int i = 0; i < 2000; ++i) {
    const Date instant = instants(random);
    const Calendar& c = calendars[static_cast<std::size_t>(i) % calendars.size()];
    const auto interval = c.weekInterval(instant);
    ASSERT_TRUE(interval.has_value());
    EXPECT_LE(interval->start, instant);
    EXPECT_GT(interval->end(), instant);
    EXPECT_EQ(c.startOfDay(interval->start), interval->start);
    EXPECT_EQ(c.daysBetween(interval->start, interval->end()), 7);
    EXPECT_EQ(c.addingDays(interval->start, 7), interval->end());
    EXPECT_EQ(c.weekInterval(interval->end())->start, interval->end()) << c.timeZoneId() << " " << instant;
    // Summer time moves a week's length by at most an hour.
    EXPECT_NEAR(interval->duration, week, hour);
  }
}

TEST(StartOfDay, IsTheFirstLocalWallTimeOfTheDay) {
  struct Case {
    const char* zone;
    double instant;  // Unix seconds
    double start;
  };
  const Case cases[] = {{"Asia/Kolkata", 1741552200, 1741545000},
                        {"Europe/Berlin", 1743328800, 1743289200},  // summer time starts at 02:00, after midnight
                        // Sao Paulo jumped from 00:00 to 01:00 on 2018-11-04: the day starts at 01:00.
                        {"America/Sao_Paulo", 1541340000, 1541300400},
                        // Havana went from 01:00 back to 00:00 on 2023-11-05: the first midnight counts.
                        {"America/Havana", 1699203600, 1699156800}};
  for (const Case& c : cases) EXPECT_EQ(calendar(c.zone, sunday).startOfDay(fromUnix(c.instant)), fromUnix(c.start));
}

TEST(AddingDays, KeepsTheWallClockTimeAcrossDaylightSaving) {
  const auto berlin = calendar("Europe/Berlin", monday);
  const Date saturdayNoon = fromUnix(1743246000);                       // 2025-03-29 12:00 CET
  EXPECT_EQ(berlin.addingDays(saturdayNoon, 1), fromUnix(1743328800));  // 2025-03-30 12:00 CEST
  EXPECT_EQ(berlin.addingDays(fromUnix(1743328800), -1), saturdayNoon);
  EXPECT_EQ(berlin.addingDays(saturdayNoon, 0), saturdayNoon);
  EXPECT_EQ(berlin.addingWeeks(fromUnix(1742770800), 1), fromUnix(1743372000));  // Monday to Monday, 00:00
  EXPECT_EQ(berlin.addingWeeks(fromUnix(1743372000), -1), fromUnix(1742770800));
  // 02:30 does not exist on 2025-03-30: it moves past the gap to 03:30.
  EXPECT_EQ(berlin.addingDays(fromUnix(1743211800), 1), fromUnix(1743211800 + day));
}

TEST(AddingDays, RefusesCountsAndResultsOutOfRange) {
  const auto utc = calendar("UTC", sunday);
  const Date now = fromUnix(1741773600);
  for (const std::int64_t count : {std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::min(),
                                   std::int64_t{1} << 31, std::int64_t{2'000'000'000}, std::int64_t{-2'000'000'000}}) {
    EXPECT_FALSE(utc.addingDays(now, count).has_value()) << count;
    EXPECT_FALSE(utc.addingWeeks(now, count).has_value()) << count;
  }
  // A billion days is within range, and exact.
  const auto far = utc.addingDays(now, 1'000'000'000);
  ASSERT_TRUE(far.has_value());
  EXPECT_EQ(utc.daysBetween(now, *far), 1'000'000'000);
  EXPECT_FALSE(utc.addingDays(std::nan(""), 1).has_value());
  EXPECT_FALSE(utc.addingWeeks(std::numeric_limits<double>::infinity(), 1).has_value());
}

TEST(DaysBetween, CountsLocalCalendarDaysNotHours) {
  const auto berlin = calendar("Europe/Berlin", monday);
  const auto utc = calendar("UTC", sunday);
  EXPECT_EQ(berlin.daysBetween(fromUnix(1743289200), fromUnix(1743372000)), 1);  // a 23-hour day
  EXPECT_EQ(berlin.daysBetween(fromUnix(1761429600), fromUnix(1761519540)), 0);  // 24:59 inside a 25-hour day
  EXPECT_EQ(berlin.daysBetween(fromUnix(1743289200), fromUnix(1743289200 - 1)), -1);
  EXPECT_EQ(utc.daysBetween(fromUnix(-2208988800), fromUnix(4102444800)), 73049);  // 1900 to 2100
  EXPECT_FALSE(utc.daysBetween(0, std::nan("")).has_value());
  const auto kolkata = calendar("Asia/Kolkata", monday);
  const Date midnight = fromUnix(1741545000);  // 2025-03-10 00:00 IST
  EXPECT_FALSE(kolkata.isSameDay(midnight - 1, midnight));
  EXPECT_TRUE(kolkata.isSameDay(midnight, midnight + day - 1));
  EXPECT_TRUE(utc.isSameDay(midnight - 1, midnight));
}

TEST(GregorianDate, TheDayOfTheBuiltDateIsTheSameDay) {
  const CalendarDay days[] = {{2025, 3, 9},  {987, 6, 15},   {1, 1, 1},      {0, 12, 31},
                              {-44, 3, 15},  {1582, 10, 4},  {1582, 10, 15}, {2000, 2, 29},
                              {1900, 2, 28}, {9999, 12, 31}, {100000, 1, 1}, {-100000, 7, 1}};
  for (const char* zone : {"UTC", "Asia/Kathmandu", "America/New_York"}) {
    const auto zoned = calendar(zone, monday);
    for (const CalendarDay& day : days) {
      const auto date = zoned.gregorianDate(day.year, day.month, day.day, 12);
      ASSERT_TRUE(date.has_value()) << zone << " " << day.year;
      EXPECT_EQ(zoned.gregorianDay(*date), day) << zone << " " << day.year;
    }
  }
}

TEST(GregorianDate, BuildsTheInstantAtTheHourInTheZone) {
  EXPECT_EQ(calendar("Asia/Kolkata", monday).gregorianDate(2025, 3, 10, 2), fromUnix(1741552200));
  EXPECT_EQ(calendar("Europe/Berlin", monday).gregorianDate(2025, 3, 30, 12), fromUnix(1743328800));
  EXPECT_EQ(calendar("UTC", monday).gregorianDate(1900, 1, 1, 0), fromUnix(-2208988800));
}

TEST(GregorianDate, KeepsTheGregorianRulesBefore1582) {
  // No Julian dates: 4 October 1582 is ten days before 14 October, and 1500
  // was no leap year.
  const auto utc = calendar("UTC", monday);
  EXPECT_EQ(utc.daysBetween(*utc.gregorianDate(1582, 10, 4, 12), *utc.gregorianDate(1582, 10, 15, 12)), 11);
  EXPECT_EQ(utc.gregorianDay(*utc.gregorianDate(1500, 2, 28, 12) + day), (CalendarDay{1500, 3, 1}));
  EXPECT_EQ(utc.gregorianDay(*utc.gregorianDate(2000, 1, 1, 0) - 730485 * day), (CalendarDay{0, 1, 1}));
}

TEST(GregorianDate, RefusesHugeComponents) {
  const auto utc = calendar("UTC", monday);
  constexpr std::int64_t maximum = std::numeric_limits<std::int64_t>::max(), int32Maximum = INT32_MAX;
  const std::array<std::int64_t, 4> refused[] = {
      {maximum, 1, 1, 0},         {-maximum, 1, 1, 0},        {2025, maximum, 1, 0},
      {2025, 1, -maximum, 0},     {int32Maximum, 1, 1, 0},    {2025, -int32Maximum, 1, 0},
      {2025, 1, int32Maximum, 0}, {2025, 1, 1, int32Maximum}, {3'500'000, 1, 1, 0},  // beyond the supported instants
  };
  for (const auto& [y, m, d, h] : refused) {
    EXPECT_FALSE(utc.gregorianDate(y, m, d, static_cast<int>(h)).has_value()) << y << " " << m << " " << d << " " << h;
  }
  EXPECT_TRUE(utc.gregorianDate(3'000'000, 1, 1, 0).has_value());
}

TEST(Calendar, AnswersNothingForInstantsItCannotRepresent) {
  const auto berlin = calendar("Europe/Berlin", monday);
  for (const Date date : {std::nan(""), std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(), 1e300, -1e300, 1e15, -1e15}) {
    EXPECT_FALSE(berlin.weekInterval(date).has_value()) << date;
    EXPECT_FALSE(berlin.startOfDay(date).has_value()) << date;
    EXPECT_FALSE(berlin.gregorianDay(date).has_value()) << date;
    EXPECT_FALSE(berlin.addingDays(date, 0).has_value()) << date;
    EXPECT_FALSE(berlin.daysBetween(date, 0).has_value()) << date;
    EXPECT_FALSE(berlin.isSameDay(date, date)) << date;
  }
}

TEST(Calendar, GivesTheSameAnswersFromManyThreads) {
  const auto berlin = calendar("Europe/Berlin", monday);
  std::vector<Date> instants;
  for (int i = 0; i < 400; ++i) instants.push_back(fromUnix(1700000000 + i * 7919.0 * 60));
  std::vector<std::optional<DateInterval>> expected;
  for (const Date instant : instants) expected.push_back(berlin.weekInterval(instant));

  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < mismatches.size(); ++t) {
    threads.emplace_back([&, t] {
      const Calendar copy = berlin;  // copies share one implementation
      for (int round = 0; round < 5; ++round) {
        for (std::size_t i = 0; i < instants.size(); ++i) {
          if (copy.weekInterval(instants[i]) != expected[i]) ++mismatches[t];
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (const int count : mismatches) EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace zelto::locale
