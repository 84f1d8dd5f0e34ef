#include "widget/model/UsageWeek.hpp"

#include <algorithm>
#include <bit>
#include <array>
#include <limits>
#include <string>

#include "widget/model/SaturatingAdd.hpp"
#include "widget/model/UsageHistoryBounds.hpp"

namespace zelto {

namespace {

constexpr std::size_t daysPerWeek = 7;

// The seven days of the week `offset` weeks from the one containing `now`
// (offsets above 0 count as 0): what the weeks of every account share.
struct WeekDays {
  std::int64_t offset = 0;  // as asked; 0 or above is the current week
  Date now = 0;
  std::string timeZoneId;  // the calendar they were found in
  int firstWeekday = 0;
  Date start = 0;                   // first instant of the week
  std::array<Date, 7> dates{};      // first instant of each day
  std::array<std::string, 7> keys;  // their day keys
  std::array<bool, 7> isToday{};    // whether the day is that of `now`

  bool areFor(std::int64_t offset, const locale::Calendar& calendar, Date now) const;
};

bool WeekDays::areFor(std::int64_t askedOffset, const locale::Calendar& calendar, Date askedNow) const {
  // Dates compare bit for bit: the same instant written the same way.
  return offset == askedOffset && std::bit_cast<std::uint64_t>(now) == std::bit_cast<std::uint64_t>(askedNow) &&
         firstWeekday == calendar.firstWeekday() && timeZoneId == calendar.timeZoneId();
}

// The days, or nullptr when the calendar fails. Every build of a widget asks
// for the same week again, once per account: the last answer of this thread
// is kept and reused for the same offset, instant and calendar, so the
// pointer holds until the thread's next call.
const WeekDays* weekDays(std::int64_t offset, const locale::Calendar& calendar, Date now) {
  static thread_local std::optional<WeekDays> last;
  if (last && last->areFor(offset, calendar, now)) return &*last;

  // 2. The current week, and 3. the offset, never above 0.
  const std::optional<DateInterval> currentWeek = calendar.weekInterval(now);
  if (!currentWeek) return nullptr;
  const std::int64_t clampedOffset = atMostCurrentWeek(offset);

  // 4. The start of the week shown.
  const std::optional<Date> weekStart = calendar.addingWeeks(currentWeek->start, clampedOffset);
  if (!weekStart) return nullptr;

  // 5. The seven days and their keys; a day the calendar cannot produce is
  // skipped, and then there is no week. Today is the day whose calendar day
  // is that of `now`.
  WeekDays days;
  days.offset = offset;
  days.now = now;
  days.timeZoneId = calendar.timeZoneId();
  days.firstWeekday = calendar.firstWeekday();
  days.start = *weekStart;
  const std::optional<locale::CalendarDay> today = calendar.gregorianDay(now);
  for (std::size_t index = 0; index < daysPerWeek; ++index) {
    const std::optional<Date> date = calendar.addingDays(*weekStart, static_cast<std::int64_t>(index));
    if (!date) return nullptr;
    days.dates[index] = *date;
    const std::optional<locale::CalendarDay> day = calendar.gregorianDay(*date);
    days.keys[index] = dayKey(day.value_or(locale::CalendarDay{}));
    days.isToday[index] = day && today && *day == *today;
  }
  last = std::move(days);
  return &*last;
}

// The week of `usage` over days already found.
ZeltoUsageWeek weekOver(const ZeltoUsageSnapshot& usage, const WeekDays& days) {
  // 6. Tokens by exact key match; a later bucket with the same key replaces
  // an earlier one, and negative counts count as 0. Matching the seven keys
  // directly gives the same answer as a key-to-tokens lookup without
  // building one for every bucket.
  std::array<std::int64_t, daysPerWeek> tokens{};
  for (const ZeltoUsageDay& bucket : usage.dailyUsageBuckets) {
    for (std::size_t index = 0; index < daysPerWeek; ++index) {
      if (bucket.startDate == days.keys[index]) tokens[index] = std::max<std::int64_t>(bucket.tokens, 0);
    }
  }

  // 7. The week and its figures.
  ZeltoUsageWeek result;
  result.offset = atMostCurrentWeek(days.offset);
  result.startDate = days.start;
  result.endDate = days.dates.back();
  result.days.reserve(daysPerWeek);
  result.currentStreakDays = usage.summary.currentStreakDays;
  result.isCurrentWeek = days.offset >= 0;
  bool foundToday = false;
  for (std::size_t index = 0; index < daysPerWeek; ++index) {
    result.days.push_back(ZeltoUsageWeek::Day{days.dates[index], tokens[index]});
    if (!foundToday && days.isToday[index]) {
      result.todayTokens = tokens[index];
      foundToday = true;
    }
    result.totalTokens = saturatingAdd(result.totalTokens, tokens[index]);
    result.peakTokens = std::max(result.peakTokens, tokens[index]);
  }
  return result;
}

}  // namespace

std::optional<ZeltoUsageWeek> week(const ZeltoUsageSnapshot& usage, std::int64_t offset,
                                   const locale::Calendar& calendar, Date now) {
  // 1. Without buckets there is nothing to show.
  if (usage.dailyUsageBuckets.empty()) return std::nullopt;
  const WeekDays* days = weekDays(offset, calendar, now);
  if (days == nullptr) return std::nullopt;
  return weekOver(usage, *days);
}

std::optional<ZeltoUsageWeek> usageWeek(const ZeltoDashboardSnapshot& dashboard, std::int64_t offset,
                                        const locale::Calendar& calendar, Date now) {
  return usageWeek(dashboard, offset, earliestUsageWeekOffset(dashboard, calendar, now), calendar, now);
}

std::optional<ZeltoUsageWeek> usageWeek(const ZeltoDashboardSnapshot& dashboard, std::int64_t offset,
                                        std::int64_t floor, const locale::Calendar& calendar, Date now) {
  // 1. The first account whose usage has buckets; usage is never summed
  // across accounts.
  const auto shown = std::find_if(dashboard.accounts.begin(), dashboard.accounts.end(), [](const auto& account) {
    return account.usage && !account.usage->dailyUsageBuckets.empty();
  });
  if (shown == dashboard.accounts.end()) return std::nullopt;

  // 2. The offset bounded to the reach of every account's data.
  return week(*shown->usage, boundedWeekOffset(offset, floor), calendar, now);
}

}  // namespace zelto
