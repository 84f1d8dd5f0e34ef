#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/locale/Calendar.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// "%04d-%02d-%02d" of the Gregorian day of `date` in the calendar's zone:
// "2025-03-09", "0987-06-05"; years before 1 count on through 0 and below,
// the sign taking one of the four places ("-005-03-01"). A day the calendar
// cannot place is "0000-00-00".
std::string dayKey(Date date, const locale::Calendar& calendar);
// The same key for a day already placed by the calendar.
std::string dayKey(const locale::CalendarDay& day);

// Noon of the day a key names, in the calendar's zone. Pieces between
// hyphens that are not base-10 integers are dropped; exactly three must
// remain.
std::optional<Date> dateFromDayKey(std::string_view key, const locale::Calendar& calendar);

// How many whole calendar weeks back the oldest parsable bucket lies: 0 or
// negative.
std::int64_t earliestWeekOffset(const ZeltoUsageSnapshot& usage, const locale::Calendar& calendar, Date now);

// A week offset is never above 0, the current week: a larger value (written
// by another program, or stepped past the current week) means 0.
std::int64_t atMostCurrentWeek(std::int64_t offset);

// The week offset shown or stored for `offset`: at most the current week and
// at least `floor`, the oldest week that has data (earliestUsageWeekOffset).
std::int64_t boundedWeekOffset(std::int64_t offset, std::int64_t floor);

// The smallest earliestWeekOffset over the accounts whose usage has buckets;
// 0 when none has.
std::int64_t earliestUsageWeekOffset(const ZeltoDashboardSnapshot& dashboard, const locale::Calendar& calendar,
                                     Date now);

}  // namespace zelto
