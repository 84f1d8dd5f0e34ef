#pragma once

#include "platform/locale/Date.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace zelto::locale {

// The year, month and day of an instant in some time zone. The year is
// astronomical (0 is 1 BC, -1 is 2 BC) and the calendar is the proleptic
// Gregorian one: its rules hold before 1582 too.
struct CalendarDay {
  std::int64_t year = 0;
  std::int64_t month = 0;
  std::int64_t day = 0;
  bool operator==(const CalendarDay&) const = default;
};

// The user's calendar: proleptic Gregorian, in one time zone, with one first
// weekday.
// A cheap, immutable value (copies share the underlying ICU prototype) that
// is safe to use from several threads at once. Every operation answers
// std::nullopt where ICU cannot produce a result (NaN or infinite instants,
// instants more than about 3.17 million years from 1970, overflowing
// arithmetic) instead of throwing.
class Calendar {
 public:
  // timeZoneId: an IANA name ("Europe/Berlin") or "UTC"; an unknown name is
  // refused. firstWeekday: 1 (Sunday) to 7 (Saturday).
  static std::optional<Calendar> make(const std::string& timeZoneId, int firstWeekday);

  // Same calendar in another time zone (first weekday kept).
  std::optional<Calendar> withTimeZone(const std::string& timeZoneId) const;

  const std::string& timeZoneId() const;
  int firstWeekday() const;

  // The week-of-year interval that contains `date`: it starts at the first
  // instant of the most recent first weekday on or before that day and lasts
  // until the first instant of the next one (not always 7 x 86400 seconds
  // across a daylight-saving change).
  std::optional<DateInterval> weekInterval(Date date) const;

  // First instant of the calendar day that contains `date`.
  std::optional<Date> startOfDay(Date date) const;

  // Calendar arithmetic on the day and week-of-year components, without
  // wrapping: the wall-clock time of day is kept where it exists.
  std::optional<Date> addingDays(Date date, std::int64_t days) const;
  std::optional<Date> addingWeeks(Date date, std::int64_t weeks) const;

  // Number of calendar days from the day of `from` to the day of `to`
  // (negative when `to` lies earlier), independent of daylight saving.
  std::optional<std::int64_t> daysBetween(Date from, Date to) const;

  bool isSameDay(Date a, Date b) const;

  // Gregorian year, month and day of `date` in this calendar's time zone.
  std::optional<CalendarDay> gregorianDay(Date date) const;

  // The instant of year-month-day at the given hour (minutes and seconds 0)
  // in this calendar's time zone. Out-of-range components are normalised the
  // way ICU's lenient Gregorian calendar does (month 13 is January next year).
  // Components beyond +-4,000,000 years, +-12,000,000 months, +-100,000,000
  // days or +-2,400,000 hours give nullopt.
  std::optional<Date> gregorianDate(std::int64_t year, std::int64_t month, std::int64_t day, int hour) const;

  bool operator==(const Calendar& other) const;

  struct Implementation;
  const Implementation& implementation() const { return *implementation_; }

 private:
  explicit Calendar(std::shared_ptr<const Implementation> implementation);
  std::shared_ptr<const Implementation> implementation_;
};

}  // namespace zelto::locale
