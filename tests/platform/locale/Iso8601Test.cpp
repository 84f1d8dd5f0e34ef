#include "platform/locale/Iso8601.hpp"

#include <gtest/gtest.h>

#include <cstdio>

namespace zelto::locale {
namespace {

constexpr Date wednesdayMorning = 763466400;  // 2025-03-12T10:00:00Z

struct ParseCase {
  const char* text;
  const char* zone;
  std::variant<Date, Iso8601Failure> expected;
};

TEST(ParseIso8601, ReadsTheAcceptedFormsAndNamesWhyOthersFail) {
  const ParseCase cases[] = {{"2025-03-12T10:00:00+01:00", "UTC", wednesdayMorning - 3600},
                             {"2025-03-12T10:00:00Z", "Europe/Berlin", wednesdayMorning},
                             {"2025-03-10T09:30:00.250Z", "UTC", 763291800.25},
                             {"2025-03-12T11:00:00", "Europe/Berlin", wednesdayMorning},
                             {"2025-03-12T11:00", "Europe/Berlin", wednesdayMorning},
                             {"2025-03-12", "UTC", wednesdayMorning - 10 * 3600},
                             {"2001-01-01T00:00:00Z", "UTC", 0.0},
                             // Clocks in Berlin skip from 02:00 to 03:00 on 2025-03-30; the zone
                             // given in the text itself leaves nothing to skip.
                             {"2025-03-30T02:30:00", "Europe/Berlin", Iso8601Failure::nonexistentLocalTime},
                             {"2025-03-30T02:30", "Europe/Berlin", Iso8601Failure::nonexistentLocalTime},
                             {"2025-03-30T02:30:00+01:00", "Europe/Berlin", 764991000.0},
                             {"2025-03-30T02:30:00", "UTC", 764994600.0},
                             {"", "UTC", Iso8601Failure::malformed},
                             {"yesterday", "UTC", Iso8601Failure::malformed},
                             {"2025-03-12T10:00:00Zjunk", "UTC", Iso8601Failure::malformed},
                             {"2025-13-01", "UTC", Iso8601Failure::malformed},
                             {"2025-02-30T10:00:00Z", "UTC", Iso8601Failure::malformed},
                             {"2025-02-30T10:00:00", "Europe/Berlin", Iso8601Failure::malformed},
                             {"763466400", "UTC", Iso8601Failure::malformed},
                             {"12/03/2025", "UTC", Iso8601Failure::malformed}};
  for (const ParseCase& c : cases) {
    EXPECT_EQ(parseIso8601(c.text, *Calendar::make(c.zone, 2)), c.expected) << c.text << " in " << c.zone;
  }
}

TEST(ParseIso8601, ReadsAndPlacesDaysInOneProlepticCalendar) {
  // Before 1582 too, the text's day is the calendar's day: no Julian dates.
  const auto utc = *Calendar::make("UTC", 2);
  for (const CalendarDay day : {CalendarDay{1500, 3, 1}, CalendarDay{1582, 10, 10}, CalendarDay{987, 6, 5}}) {
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lldT12:00:00Z", static_cast<long long>(day.year),
                  static_cast<long long>(day.month), static_cast<long long>(day.day));
    const auto parsed = parseIso8601(text, utc);
    ASSERT_TRUE(std::holds_alternative<Date>(parsed)) << text;
    EXPECT_EQ(utc.gregorianDay(std::get<Date>(parsed)), day) << text;
    EXPECT_EQ(utc.gregorianDate(day.year, day.month, day.day, 12), std::get<Date>(parsed)) << text;
  }
}

}  // namespace
}  // namespace zelto::locale
