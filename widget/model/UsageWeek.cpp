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

}  // namespace

bool ZeltoUsageWeekDays::areFor(std::int64_t askedOffset, const locale::Calendar& calendar, Date askedNow) const {
  // Dates compare bit for bit: the same instant written the same way.
  return offset == askedOffset && std::bit_cast<std::uint64_t>(now) == std::bit_cast<std::uint64_t>(askedNow) &&
         firstWeekday == calendar.firstWeekday() && timeZoneId == calendar.timeZoneId();
}

std::optional<ZeltoUsageWeekDays> weekDays(std::int64_t offset, const locale::Calendar& calendar, Date now) {
  // Every build of a widget asks for the same week again: the last answer of
  // this thread is reused when it is for the same offset, instant and calendar.
  static thread_local std::optional<ZeltoUsageWeekDays> last;
  if (last && last->areFor(offset, calendar, now)) return last;

  // 2. The current week, and 3. the offset, never above 0.
  const std::optional<DateInterval> currentWeek = calendar.weekInterval(now);
  if (!currentWeek) return std::nullopt;
  const std::int64_t clampedOffset = atMostCurrentWeek(offset);

  // 4. The start of the week shown.
  const std::optional<Date> weekStart = calendar.addingWeeks(currentWeek->start, clampedOffset);
  if (!weekStart) return std::nullopt;

  // 5. The seven days and their keys; a day the calendar cannot produce is
  // skipped, and then there is no week. Today is the day whose calendar day
  // is that of `now`.
  ZeltoUsageWeekDays days;
  days.offset = offset;
  days.now = now;
  days.timeZoneId = calendar.timeZoneId();
  days.firstWeekday = calendar.firstWeekday();
  days.start = *weekStart;
  const std::optional<locale::CalendarDay> today = calendar.gregorianDay(now);
  for (std::size_t index = 0; index < daysPerWeek; ++index) {
    const std::optional<Date> date = calendar.addingDays(*weekStart, static_cast<std::int64_t>(index));
    if (!date) return std::nullopt;
    days.dates[index] = *date;
    const std::optional<locale::CalendarDay> day = calendar.gregorianDay(*date);
    days.keys[index] = dayKey(day.value_or(locale::CalendarDay{}));
    days.isToday[index] = day && today && *day == *today;
  }
  last = days;
  return days;
}

std::optional<ZeltoUsageWeek> week(const ZeltoUsageSnapshot& usage, std::int64_t offset,
                                   const locale::Calendar& calendar, Date now) {
  // 1. Without buckets there is nothing to show.
  if (usage.dailyUsageBuckets.empty()) return std::nullopt;
  const std::optional<ZeltoUsageWeekDays> days = weekDays(offset, calendar, now);
  if (!days) return std::nullopt;
  return week(usage, *days);
}

std::optional<ZeltoUsageWeek> week(const ZeltoUsageSnapshot& usage, const ZeltoUsageWeekDays& days) {
  // 1. Without buckets there is nothing to show.
  if (usage.dailyUsageBuckets.empty()) return std::nullopt;

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

std::optional<ZeltoUsageWeek> usageWeek(const ZeltoDashboardSnapshot& dashboard, std::int64_t offset,
                                        const locale::Calendar& calendar, Date now) {
  return usageWeek(dashboard, offset, earliestUsageWeekOffset(dashboard, calendar, now), calendar, now);
}

std::optional<ZeltoUsageWeek> usageWeek(const ZeltoDashboardSnapshot& dashboard, std::int64_t offset,
                                        std::int64_t floor, const locale::Calendar& calendar, Date now,
                                        const ZeltoUsageWeekDays* days) {
  // 1. The first account whose usage has buckets; usage is never summed
  // across accounts.
  const auto shown = std::find_if(dashboard.accounts.begin(), dashboard.accounts.end(), [](const auto& account) {
    return account.usage && !account.usage->dailyUsageBuckets.empty();
  });
  if (shown == dashboard.accounts.end()) return std::nullopt;

  // 2. The offset bounded to the reach of every account's data.
  const std::int64_t bounded = boundedWeekOffset(offset, floor);
  if (days != nullptr && days->areFor(bounded, calendar, now)) return week(*shown->usage, *days);
  return week(*shown->usage, bounded, calendar, now);
}

}  // namespace zelto
