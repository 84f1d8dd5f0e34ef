#include "apps/zelto-limits-defaults/DemoDashboard.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>

#include "widget/model/UsageHistoryBounds.hpp"

namespace zelto::defaults {

namespace {

constexpr double secondsPerDay = 86400;
constexpr std::int64_t usageDays = 35;  // five weeks, today included

// What makes the accounts differ. The third one has no limit data: its last
// fetch failed.
struct AccountProfile {
  const char* id;
  const char* name;
  const char* email;  // nullptr: none
  const char* plan;   // as the service reports it; the widget capitalizes it
  const char* creditBalance;
  int resetCredits;
  const char* errorMessage;  // nullptr: the fetch worked
};

constexpr std::array<AccountProfile, maximumDemoAccounts> profiles = {{
    {"demo-personal", "Personal", "personal@example.com", "plus", "0", 3, nullptr},
    {"demo-work", "Work", "work@example.com", "Business", nullptr, 0, nullptr},
    {"demo-sandbox", "Sandbox", "sandbox@example.com", nullptr, nullptr, 0,
     "Could not reach the Zelto service (HTTP 503); retrying in 5 minutes"},
    {"demo-lab", "Lab", nullptr, "pro", "12", 1, nullptr},
}};

// Relative weight of each weekday, Monday first: busy weekdays, a quieter
// Friday, little on weekends.
constexpr std::array<double, 7> weekdayWeights = {1.0, 1.15, 1.05, 1.1, 0.8, 0.25, 0.15};

// What a drawn number is for; part of its seed, so that adding a draw of one
// kind never shifts the numbers of another.
enum class Draw : std::uint32_t { windowPhase, windowCeiling, creditPhase, dayTokens, dayRest, accountScale, figures };

// A uniform number in [0, 1) that depends only on the seed and the labels,
// never on how many numbers were drawn before: a day keeps its tokens from
// one snapshot to the next.
double uniform(std::uint64_t seed, std::size_t account, Draw draw, std::int64_t index) {
  std::seed_seq sequence{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32),
                         static_cast<std::uint32_t>(account), static_cast<std::uint32_t>(draw),
                         static_cast<std::uint32_t>(index), static_cast<std::uint32_t>(index >> 32)};
  std::mt19937_64 engine(sequence);
  return std::generate_canonical<double, 53>(engine);
}

// Reset and expiry times fall on whole minutes, as a service reports them.
double wholeMinutes(double seconds) { return std::floor(seconds / 60) * 60; }

// The start of the cycle of length `period` (seconds) that holds `now`, for
// cycles that began at `phase`.
Date cycleStart(Date now, double phase, double period) { return phase + std::floor((now - phase) / period) * period; }

// Use grows through the window from 0 up to a ceiling drawn per window (some
// windows run dry before they reset, most do not) and drops to 0 at reset.
ZeltoLimitWindow makeWindow(const DemoSettings& settings, std::size_t account, std::int64_t durationMinutes,
                            const char* title, Date now) {
  const double period = static_cast<double>(durationMinutes) * 60;
  const Date start = cycleStart(
      now, wholeMinutes(uniform(settings.seed, account, Draw::windowPhase, durationMinutes) * period), period);
  const double elapsed = std::clamp((now - start) / period, 0.0, 1.0);
  const double ceiling = 40 + 75 * uniform(settings.seed, account, Draw::windowCeiling, durationMinutes);
  ZeltoLimitWindow window;
  window.id = std::string(profiles[account].id) + "-" + std::to_string(durationMinutes);
  window.title = title;
  window.usedPercent = std::min<std::int64_t>(100, std::llround(ceiling * elapsed));
  window.resetsAt = start + period;
  window.durationMinutes = durationMinutes;
  return window;
}

// Credit k lasts 3 + 6k days and is listed for six more hours after it
// expired; then a fresh one takes its place.
ZeltoResetCredit makeCredit(const DemoSettings& settings, std::size_t account, int index, Date now) {
  const double lifetime = (3 + 6 * index) * secondsPerDay;
  const double period = lifetime + secondsPerDay / 4;
  const Date start = cycleStart(now, wholeMinutes(uniform(settings.seed, account, Draw::creditPhase, index) * period),
                                period);
  return ZeltoResetCredit{std::string(profiles[account].id) + "-credit-" + std::to_string(index + 1), "Full reset",
                          start + lifetime};
}

std::optional<ZeltoUsageSnapshot> makeUsage(const DemoSettings& settings, std::size_t account, Date now,
                                           const locale::Calendar& calendar) {
  // 2001-01-01 was a Monday: days counted from it give the weekday.
  const std::optional<Date> monday = calendar.gregorianDate(2001, 1, 1, 12);
  const std::optional<Date> today = calendar.startOfDay(now);
  if (!monday || !today) return std::nullopt;
  const double scale = 500000 + 1200000 * uniform(settings.seed, account, Draw::accountScale, 0);

  ZeltoUsageSnapshot usage;
  usage.fetchedAt = now;
  std::int64_t run = 0;
  std::int64_t longestRun = 0;
  std::int64_t total = 0;
  std::int64_t peak = 0;
  for (std::int64_t offset = 1 - usageDays; offset <= 0; ++offset) {
    const std::optional<Date> day = calendar.addingDays(now, offset);
    const std::optional<std::int64_t> dayNumber = day ? calendar.daysBetween(*monday, *day) : std::nullopt;
    if (!dayNumber) continue;  // a day the calendar cannot produce is left out
    const double weight = weekdayWeights[static_cast<std::size_t>(((*dayNumber % 7) + 7) % 7)];
    // Some quiet days have no use at all, which breaks the streak.
    const bool rests = uniform(settings.seed, account, Draw::dayRest, *dayNumber) > 0.55 + weight * 0.5;
    double tokens = rests ? 0 : scale * weight * (0.6 + 0.8 * uniform(settings.seed, account, Draw::dayTokens, *dayNumber));
    // Today's use grows with the hour.
    if (offset == 0) tokens *= std::clamp((now - *today) / secondsPerDay, 0.0, 1.0);
    const auto rounded = static_cast<std::int64_t>(std::llround(tokens / 1000) * 1000);
    usage.dailyUsageBuckets.push_back(ZeltoUsageDay{dayKey(*day, calendar), rounded});
    run = rounded > 0 ? run + 1 : 0;
    longestRun = std::max(longestRun, run);
    total += rounded;
    peak = std::max(peak, rounded);
  }

  // The current streak ends today, or yesterday while today has no use yet.
  std::int64_t streak = 0;
  auto day = usage.dailyUsageBuckets.rbegin();
  if (day != usage.dailyUsageBuckets.rend() && day->tokens == 0) ++day;
  for (; day != usage.dailyUsageBuckets.rend() && day->tokens > 0; ++day) ++streak;

  // Lifetime figures reach back before the five weeks shown.
  const double history = uniform(settings.seed, account, Draw::figures, 0);
  usage.summary.currentStreakDays = streak;
  usage.summary.longestStreakDays = std::max(longestRun, static_cast<std::int64_t>(8 + 30 * history));
  usage.summary.lifetimeTokens = total + static_cast<std::int64_t>(scale * (60 + 300 * history));
  usage.summary.peakDailyTokens = std::max(peak, static_cast<std::int64_t>(scale * 2.1));
  usage.summary.longestRunningTurnSec = 600 + static_cast<std::int64_t>(3000 * history);
  return usage;
}

}  // namespace

ZeltoDashboardSnapshot makeDemoDashboard(const DemoSettings& settings, Date now, const locale::Calendar& calendar) {
  ZeltoDashboardSnapshot dashboard;
  dashboard.updatedAt = now;
  const auto count = static_cast<std::size_t>(std::clamp(settings.accounts, 1, maximumDemoAccounts));
  for (std::size_t index = 0; index < count; ++index) {
    const AccountProfile& profile = profiles[index];
    ZeltoAccountSnapshot account;
    account.id = profile.id;
    account.name = profile.name;
    if (profile.email) account.email = profile.email;
    if (profile.errorMessage) {
      account.errorMessage = profile.errorMessage;
      dashboard.accounts.push_back(std::move(account));
      continue;
    }
    ZeltoLimitSnapshot limits;
    limits.fetchedAt = now;
    if (profile.plan) limits.plan = profile.plan;
    limits.windows = {makeWindow(settings, index, 300, "5-hour", now),
                      makeWindow(settings, index, 10080, "Weekly", now)};
    if (profile.creditBalance) limits.creditBalance = profile.creditBalance;
    for (int credit = 0; credit < profile.resetCredits; ++credit) {
      limits.resetCredits.push_back(makeCredit(settings, index, credit, now));
    }
    account.limits = std::move(limits);
    account.usage = makeUsage(settings, index, now, calendar);
    dashboard.accounts.push_back(std::move(account));
  }
  return dashboard;
}

bool isDemoDashboard(const ZeltoDashboardSnapshot& dashboard) {
  return !dashboard.accounts.empty() &&
         std::all_of(dashboard.accounts.begin(), dashboard.accounts.end(),
                     [](const ZeltoAccountSnapshot& account) { return account.id.starts_with(demoAccountPrefix); });
}

}  // namespace zelto::defaults
