#include "widget/model/UsageHistoryBounds.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <vector>

namespace zelto {

std::string dayKey(Date date, const locale::Calendar& calendar) {
  // The calendar is Gregorian in the user's zone; a day it cannot place
  // counts as year, month and day 0.
  return dayKey(calendar.gregorianDay(date).value_or(locale::CalendarDay{}));
}

namespace {

// `value` in decimal, zero-padded to `width` characters; the padding counts
// the sign, as printf's "%0*lld" does: -5 at width 4 is "-005".
void appendPadded(std::string& out, std::int64_t value, std::size_t width) {
  char digits[24];
  const bool negative = value < 0;
  // The magnitude as unsigned, so the most negative value has one too.
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  const std::size_t count = static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
  if (negative) out += '-';
  const std::size_t used = count + (negative ? 1 : 0);
  if (used < width) out.append(width - used, '0');
  out.append(digits, count);
}

}  // namespace

std::string dayKey(const locale::CalendarDay& day) {
  std::string key;
  key.reserve(10);
  appendPadded(key, day.year, 4);
  key += '-';
  appendPadded(key, day.month, 2);
  key += '-';
  appendPadded(key, day.day, 2);
  return key;
}

namespace {

using DayKeyComponents = std::array<std::int64_t, 3>;

// Year, month and day of a day key: the text split at every hyphen, with
// empty pieces and pieces that are not wholly a base-10 integer dropped (a
// sign is not part of one: "-" separates). Exactly three must remain.
std::optional<DayKeyComponents> dayKeyComponents(std::string_view key) {
  DayKeyComponents components = {};
  std::size_t count = 0;
  std::size_t pieceStart = 0;
  while (pieceStart <= key.size()) {
    std::size_t pieceEnd = key.find('-', pieceStart);
    if (pieceEnd == std::string_view::npos) pieceEnd = key.size();
    const std::string_view piece = key.substr(pieceStart, pieceEnd - pieceStart);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value, 10);
    if (!piece.empty() && error == std::errc{} && end == piece.data() + piece.size()) {
      // A fourth integer already decides the answer.
      if (count == 3) return std::nullopt;
      components[count++] = value;
    }
    pieceStart = pieceEnd + 1;
  }
  if (count != 3) return std::nullopt;
  return components;
}

std::optional<Date> noonOf(const DayKeyComponents& day, const locale::Calendar& calendar) {
  return calendar.gregorianDate(day[0], day[1], day[2], 12);
}

// Components that every Gregorian month has, in years after the calendar
// reform: their noons are ordered exactly as the (year, month, day) tuples,
// so the earliest of them can be found without asking the calendar for each.
bool isOrdinaryDay(const DayKeyComponents& day) {
  return day[0] >= 1600 && day[0] <= 9999 && day[1] >= 1 && day[1] <= 12 && day[2] >= 1 && day[2] <= 28;
}

}  // namespace

std::optional<Date> dateFromDayKey(std::string_view key, const locale::Calendar& calendar) {
  const auto components = dayKeyComponents(key);
  if (!components) return std::nullopt;
  return noonOf(*components, calendar);
}

namespace {

// earliestWeekOffset with the current week already found.
std::int64_t earliestWeekOffsetFrom(const ZeltoUsageSnapshot& usage, const locale::Calendar& calendar,
                                    const DateInterval& currentWeek) {
  // 2. The earliest bucket that parses. Ordinary days compare as tuples and
  // only the earliest of them is placed by the calendar; any other key (month
  // 13, day 31, year 987) is placed one by one, as the calendar normalises it.
  std::optional<Date> earliest;
  std::optional<DayKeyComponents> earliestOrdinary;
  auto consider = [&earliest](std::optional<Date> date) {
    if (date && (!earliest || *date < *earliest)) earliest = date;
  };
  for (const ZeltoUsageDay& bucket : usage.dailyUsageBuckets) {
    const auto components = dayKeyComponents(bucket.startDate);
    if (!components) continue;
    if (isOrdinaryDay(*components)) {
      if (!earliestOrdinary || *components < *earliestOrdinary) earliestOrdinary = components;
    } else {
      consider(noonOf(*components, calendar));
    }
  }
  if (earliestOrdinary) consider(noonOf(*earliestOrdinary, calendar));
  if (!earliest) return 0;

  // 3. Its week, and 4. whole calendar days between the two week starts
  // (daylight-saving changes do not count).
  const std::optional<DateInterval> earliestWeek = calendar.weekInterval(*earliest);
  if (!earliestWeek) return 0;
  const std::optional<std::int64_t> days = calendar.daysBetween(earliestWeek->start, currentWeek.start);
  if (!days) return 0;

  // 5. Whole weeks back; data in the current week or later reaches nowhere.
  return -(std::max<std::int64_t>(*days, 0) / 7);
}

}  // namespace

std::int64_t earliestWeekOffset(const ZeltoUsageSnapshot& usage, const locale::Calendar& calendar, Date now) {
  // 1. The current week.
  const std::optional<DateInterval> currentWeek = calendar.weekInterval(now);
  if (!currentWeek) return 0;
  return earliestWeekOffsetFrom(usage, calendar, *currentWeek);
}

std::int64_t atMostCurrentWeek(std::int64_t offset) { return std::min<std::int64_t>(offset, 0); }

std::int64_t boundedWeekOffset(std::int64_t offset, std::int64_t floor) {
  return std::max(atMostCurrentWeek(offset), floor);
}

namespace {

// earliestUsageWeekOffset, worked out afresh.
std::int64_t earliestAcrossAccounts(const ZeltoDashboardSnapshot& dashboard, const locale::Calendar& calendar,
                                    Date now) {
  std::int64_t earliest = 0;
  std::optional<DateInterval> currentWeek;  // found once, for the first account that needs it
  for (const ZeltoAccountSnapshot& account : dashboard.accounts) {
    // An account without buckets never narrows the range of the others.
    if (!account.usage || account.usage->dailyUsageBuckets.empty()) continue;
    if (!currentWeek) currentWeek = calendar.weekInterval(now);
    if (!currentWeek) return 0;
    earliest = std::min(earliest, earliestWeekOffsetFrom(*account.usage, calendar, *currentWeek));
  }
  return earliest;
}

}  // namespace

std::int64_t earliestUsageWeekOffset(const ZeltoDashboardSnapshot& dashboard, const locale::Calendar& calendar,
                                     Date now) {
  // The answer depends only on the day keys of the accounts with buckets,
  // the instant and the calendar. Every build of a widget asks again for the
  // same ones, so the last answer of this thread is kept with its inputs.
  struct Answer {
    std::string keys;  // every bucket's day key, each after its length
    std::uint64_t now = 0;
    int firstWeekday = 0;
    std::string timeZoneId;
    std::int64_t offset = 0;
  };
  static thread_local std::optional<Answer> last;
  std::string keys;
  for (const ZeltoAccountSnapshot& account : dashboard.accounts) {
    if (!account.usage) continue;
    for (const ZeltoUsageDay& bucket : account.usage->dailyUsageBuckets) {
      const auto length = static_cast<std::uint32_t>(bucket.startDate.size());
      keys.append(reinterpret_cast<const char*>(&length), sizeof length);
      keys += bucket.startDate;
    }
  }
  const auto nowBits = std::bit_cast<std::uint64_t>(now);
  if (last && last->now == nowBits && last->firstWeekday == calendar.firstWeekday() &&
      last->timeZoneId == calendar.timeZoneId() && last->keys == keys) {
    return last->offset;
  }
  const std::int64_t offset = earliestAcrossAccounts(dashboard, calendar, now);
  last = Answer{std::move(keys), nowBits, calendar.firstWeekday(), calendar.timeZoneId(), offset};
  return offset;
}

}  // namespace zelto
