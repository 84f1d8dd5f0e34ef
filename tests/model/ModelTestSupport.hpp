#pragma once

#include <cstdint>
#include <string>

#include "platform/locale/Calendar.hpp"

namespace zelto::testing {

inline constexpr int sunday = 1;
inline constexpr int monday = 2;

// A calendar that must exist (the test fails loudly otherwise).
locale::Calendar makeCalendar(const std::string& timeZoneId, int firstWeekday);

// The instant of a local wall-clock hour in the calendar's zone.
Date localDate(const locale::Calendar& calendar, std::int64_t year, std::int64_t month, std::int64_t day, int hour = 0);

// The bytes of tests/fixtures/<name>.
std::string readFixture(const std::string& name);

// The bytes of a file below the source tree.
std::string readSourceFile(const std::string& relativePath);

}  // namespace zelto::testing
