#include "platform/locale/Calendar.hpp"

#include "platform/locale/CalendarImplementation.hpp"
#include "platform/locale/IcuConversion.hpp"

#include <unicode/locid.h>

#include <cmath>
#include <limits>

namespace zelto::locale {
namespace {

constexpr double millisPerDay = 86400000.0;

// Component limits for gregorianDate: together they keep every intermediate
// day number ICU computes inside 32 bits (about 2.0e9 days at most), and
// every instant they can describe is checked against the supported range
// afterwards anyway.
constexpr std::int64_t maximumYearMagnitude = 4'000'000;
constexpr std::int64_t maximumMonthMagnitude = 12'000'000;
constexpr std::int64_t maximumDayMagnitude = 100'000'000;
constexpr std::int64_t maximumHourMagnitude = 2'400'000;

// The calendar set to `date`, or nullptr when the instant is not supported.
std::unique_ptr<icu::Calendar> calendarAt(const Calendar::Implementation& implementation, Date date) {
  const auto millis = icuMillisFromDate(date);
  if (!millis) return nullptr;
  auto calendar = implementation.workingCopy();
  if (!calendar) return nullptr;
  UErrorCode status = U_ZERO_ERROR;
  calendar->setTime(*millis, status);
  if (U_FAILURE(status)) return nullptr;
  return calendar;
}

std::optional<std::int32_t> field(const icu::Calendar& calendar, UCalendarDateFields which) {
  UErrorCode status = U_ZERO_ERROR;
  const std::int32_t value = calendar.get(which, status);
  if (U_FAILURE(status)) return std::nullopt;
  return value;
}

// The first instant of the local day `dayOffset` days after the calendar's
// current day. Where local midnight is repeated (clocks set back at 01:00 to
// 00:00) the earlier one is the start; where it is skipped (clocks set
// forward at 00:00) the day starts at the first wall time that exists.
std::optional<Date> startOfLocalDay(icu::Calendar& calendar, std::int32_t dayOffset) {
  const auto year = field(calendar, UCAL_EXTENDED_YEAR);
  const auto month = field(calendar, UCAL_MONTH);
  const auto day = field(calendar, UCAL_DATE);
  if (!year || !month || !day) return std::nullopt;
  calendar.setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
  calendar.setSkippedWallTimeOption(UCAL_WALLTIME_LAST);
  calendar.clear();
  calendar.set(UCAL_EXTENDED_YEAR, *year);
  calendar.set(UCAL_MONTH, *month);
  calendar.set(UCAL_DATE, *day + dayOffset);
  UErrorCode status = U_ZERO_ERROR;
  const UDate millis = calendar.getTime(status);
  if (U_FAILURE(status)) return std::nullopt;
  return dateFromIcuMillis(millis);
}

std::optional<Date> addingField(const Calendar::Implementation& implementation, Date date, std::int64_t amount,
                                UCalendarDateFields which, double approximateMillisPerUnit) {
  if (amount < std::numeric_limits<std::int32_t>::min() || amount > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  // ICU clamps a lenient calendar's time to its own limits instead of
  // failing, so a result beyond the supported range is refused up front
  // (with a margin for daylight-saving shifts).
  const auto millis = icuMillisFromDate(date);
  if (!millis) return std::nullopt;
  const double target = *millis + static_cast<double>(amount) * approximateMillisPerUnit;
  if (!(std::fabs(target) <= supportedUnixMillisMagnitude - 2 * millisPerDay)) return std::nullopt;

  auto calendar = calendarAt(implementation, date);
  if (!calendar) return std::nullopt;
  UErrorCode status = U_ZERO_ERROR;
  calendar->add(which, static_cast<std::int32_t>(amount), status);
  if (U_FAILURE(status)) return std::nullopt;
  const UDate result = calendar->getTime(status);
  if (U_FAILURE(status)) return std::nullopt;
  return dateFromIcuMillis(result);
}

// ICU's Julian day number, counted at local midnight: consecutive local
// days differ by exactly one whatever daylight saving does.
std::optional<std::int64_t> localJulianDay(const Calendar::Implementation& implementation, Date date) {
  const auto calendar = calendarAt(implementation, date);
  if (!calendar) return std::nullopt;
  return field(*calendar, UCAL_JULIAN_DAY);
}

}  // namespace

std::unique_ptr<icu::GregorianCalendar> prolepticGregorianCalendar(const icu::TimeZone& timeZone,
                                                                   const icu::Locale& locale) {
  UErrorCode status = U_ZERO_ERROR;
  auto calendar = std::make_unique<icu::GregorianCalendar>(timeZone, locale, status);
  if (U_FAILURE(status)) return nullptr;
  // The earliest instant ICU knows: no date falls before the change.
  calendar->setGregorianChange(-std::numeric_limits<double>::max(), status);
  if (U_FAILURE(status)) return nullptr;
  return calendar;
}

Calendar::Calendar(std::shared_ptr<const Implementation> implementation) : implementation_(std::move(implementation)) {}

std::optional<Calendar> Calendar::make(const std::string& timeZoneId, int firstWeekday) {
  if (firstWeekday < UCAL_SUNDAY || firstWeekday > UCAL_SATURDAY) return std::nullopt;
  if (timeZoneId.empty() || timeZoneId.size() > 256) return std::nullopt;

  std::unique_ptr<icu::TimeZone> timeZone(
      icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(icu::StringPiece(timeZoneId))));
  if (!timeZone) return std::nullopt;
  // ICU answers an unknown id with the "unknown" zone (UTC offsets, id
  // "Etc/Unknown") rather than an error.
  icu::UnicodeString resolvedId;
  timeZone->getID(resolvedId);
  if (resolvedId == icu::UnicodeString(UCAL_UNKNOWN_ZONE_ID)) return std::nullopt;

  auto prototype = prolepticGregorianCalendar(*timeZone, icu::Locale::getRoot());
  if (!prototype) return std::nullopt;
  prototype->setLenient(true);
  prototype->setFirstDayOfWeek(static_cast<UCalendarDaysOfWeek>(firstWeekday));

  auto implementation = std::make_shared<Implementation>();
  implementation->timeZoneId = utf8FromUnicode(resolvedId);
  implementation->firstWeekday = firstWeekday;
  implementation->timeZone = std::move(timeZone);
  implementation->prototype = std::move(prototype);
  return Calendar(std::move(implementation));
}

std::optional<Calendar> Calendar::withTimeZone(const std::string& timeZoneId) const {
  return make(timeZoneId, firstWeekday());
}

const std::string& Calendar::timeZoneId() const { return implementation_->timeZoneId; }

int Calendar::firstWeekday() const { return implementation_->firstWeekday; }

std::optional<DateInterval> Calendar::weekInterval(Date date) const {
  auto calendar = calendarAt(*implementation_, date);
  if (!calendar) return std::nullopt;
  const auto weekday = field(*calendar, UCAL_DAY_OF_WEEK);
  if (!weekday) return std::nullopt;
  // Days back from this day to the most recent first weekday (0 to 6).
  const std::int32_t daysIntoWeek = (*weekday - implementation_->firstWeekday + 7) % 7;
  const auto start = startOfLocalDay(*calendar, -daysIntoWeek);
  if (!start) return std::nullopt;
  // The calendar now stands at the start; the next week starts 7 days later.
  const auto end = startOfLocalDay(*calendar, 7);
  if (!end) return std::nullopt;
  return DateInterval{*start, *end - *start};
}

std::optional<Date> Calendar::startOfDay(Date date) const {
  auto calendar = calendarAt(*implementation_, date);
  if (!calendar) return std::nullopt;
  return startOfLocalDay(*calendar, 0);
}

std::optional<Date> Calendar::addingDays(Date date, std::int64_t days) const {
  return addingField(*implementation_, date, days, UCAL_DATE, millisPerDay);
}

std::optional<Date> Calendar::addingWeeks(Date date, std::int64_t weeks) const {
  return addingField(*implementation_, date, weeks, UCAL_WEEK_OF_YEAR, 7 * millisPerDay);
}

std::optional<std::int64_t> Calendar::daysBetween(Date from, Date to) const {
  const auto fromDay = localJulianDay(*implementation_, from);
  const auto toDay = localJulianDay(*implementation_, to);
  if (!fromDay || !toDay) return std::nullopt;
  return *toDay - *fromDay;
}

bool Calendar::isSameDay(Date a, Date b) const {
  const auto aDay = localJulianDay(*implementation_, a);
  const auto bDay = localJulianDay(*implementation_, b);
  return aDay && bDay && *aDay == *bDay;
}

std::optional<CalendarDay> Calendar::gregorianDay(Date date) const {
  const auto calendar = calendarAt(*implementation_, date);
  if (!calendar) return std::nullopt;
  const auto year = field(*calendar, UCAL_EXTENDED_YEAR);
  const auto month = field(*calendar, UCAL_MONTH);
  const auto day = field(*calendar, UCAL_DATE);
  if (!year || !month || !day) return std::nullopt;
  return CalendarDay{*year, *month + 1, *day};
}

std::optional<Date> Calendar::gregorianDate(std::int64_t year, std::int64_t month, std::int64_t day, int hour) const {
  const auto within = [](std::int64_t value, std::int64_t magnitude) {
    return value >= -magnitude && value <= magnitude;
  };
  if (!within(year, maximumYearMagnitude) || !within(month, maximumMonthMagnitude) ||
      !within(day, maximumDayMagnitude) || !within(hour, maximumHourMagnitude)) {
    return std::nullopt;
  }
  auto calendar = implementation_->workingCopy();
  if (!calendar) return std::nullopt;
  calendar->clear();
  calendar->set(UCAL_EXTENDED_YEAR, static_cast<std::int32_t>(year));
  calendar->set(UCAL_MONTH, static_cast<std::int32_t>(month - 1));
  calendar->set(UCAL_DATE, static_cast<std::int32_t>(day));
  calendar->set(UCAL_HOUR_OF_DAY, hour);
  UErrorCode status = U_ZERO_ERROR;
  const UDate millis = calendar->getTime(status);
  if (U_FAILURE(status)) return std::nullopt;
  return dateFromIcuMillis(millis);
}

bool Calendar::operator==(const Calendar& other) const {
  return timeZoneId() == other.timeZoneId() && firstWeekday() == other.firstWeekday();
}

}  // namespace zelto::locale
