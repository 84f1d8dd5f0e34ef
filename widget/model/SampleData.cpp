#include "widget/model/SampleData.hpp"

#include <array>
#include <utility>

#include "widget/model/UsageHistoryBounds.hpp"

namespace zelto {

namespace {

// Tokens of the fourteen sample days, oldest first; the last one is today.
constexpr std::array<std::int64_t, 14> sampleDailyTokens = {
    420000, 730000,  510000, 1180000, 860000,  1420000, 940000,
    680000, 1060000, 890000, 1310000, 1520000, 760000,  1240000,
};

ZeltoLimitSnapshot makeSampleWorkLimits(Date buildTime) {
  ZeltoLimitSnapshot limits;
  limits.fetchedAt = buildTime;
  limits.plan = "Business";
  limits.windows = {
      ZeltoLimitWindow{"work-300", "5-hour", 61, buildTime + 4440, 300},
      ZeltoLimitWindow{"work-10080", "Weekly", 23, buildTime + 432000, 10080},
  };
  return limits;
}

// The two sample accounts around given personal limits and usage, so that
// the shared sample can reuse the cached limit and usage samples.
ZeltoDashboardSnapshot assembleSampleDashboard(Date buildTime, ZeltoLimitSnapshot personalLimits,
                                               const ZeltoUsageSnapshot& usage) {
  ZeltoAccountSnapshot personal;
  personal.id = "personal";
  personal.name = "Personal";
  personal.email = "personal@example.com";
  personal.limits = std::move(personalLimits);
  personal.usage = usage;

  ZeltoAccountSnapshot work;
  work.id = "work";
  work.name = "Work";
  work.email = "work@example.com";
  work.limits = makeSampleWorkLimits(buildTime);
  work.usage = usage;

  ZeltoDashboardSnapshot dashboard;
  dashboard.updatedAt = buildTime;
  dashboard.accounts.push_back(std::move(personal));
  dashboard.accounts.push_back(std::move(work));
  return dashboard;
}

}  // namespace

ZeltoLimitSnapshot makeSampleLimitSnapshot(Date buildTime) {
  ZeltoLimitSnapshot limits;
  limits.fetchedAt = buildTime;
  limits.plan = "Plus";
  limits.windows = {
      ZeltoLimitWindow{"zelto-300", "5-hour", 28, buildTime + 8280, 300},
      ZeltoLimitWindow{"zelto-10080", "Weekly", 44, buildTime + 345600, 10080},
  };
  limits.creditBalance = "0";
  limits.resetCredits = {
      ZeltoResetCredit{"preview-1", "Full reset", buildTime + 777600},
      ZeltoResetCredit{"preview-2", "Full reset", buildTime + 1382400},
      ZeltoResetCredit{"preview-3", "Full reset", buildTime + 2419200},
  };
  return limits;
}

ZeltoUsageSnapshot makeSampleUsageSnapshot(Date buildTime, const locale::Calendar& calendar) {
  ZeltoUsageSnapshot usage;
  usage.fetchedAt = buildTime;
  usage.dailyUsageBuckets.reserve(sampleDailyTokens.size());
  const auto lastIndex = static_cast<std::int64_t>(sampleDailyTokens.size()) - 1;
  for (std::int64_t index = 0; index <= lastIndex; ++index) {
    // A day the calendar cannot produce is left out.
    const std::optional<Date> day = calendar.addingDays(buildTime, index - lastIndex);
    if (!day) continue;
    usage.dailyUsageBuckets.push_back(
        ZeltoUsageDay{dayKey(*day, calendar), sampleDailyTokens[static_cast<std::size_t>(index)]});
  }
  usage.summary.currentStreakDays = 6;
  usage.summary.lifetimeTokens = 48600000;
  usage.summary.longestRunningTurnSec = 1842;
  usage.summary.longestStreakDays = 19;
  usage.summary.peakDailyTokens = 2140000;
  return usage;
}

ZeltoDashboardSnapshot makeSampleDashboard(Date buildTime, const locale::Calendar& calendar) {
  return assembleSampleDashboard(buildTime, makeSampleLimitSnapshot(buildTime),
                                 makeSampleUsageSnapshot(buildTime, calendar));
}

// The shared samples: function-local statics are built exactly once, by the
// first caller, even when first calls race; later arguments are ignored.

const ZeltoLimitSnapshot& ZeltoLimitSnapshot::sample(Date now, const locale::Calendar&) {
  static const ZeltoLimitSnapshot shared = makeSampleLimitSnapshot(now);
  return shared;
}

const ZeltoUsageSnapshot& ZeltoUsageSnapshot::sample(Date now, const locale::Calendar& calendar) {
  static const ZeltoUsageSnapshot shared = makeSampleUsageSnapshot(now, calendar);
  return shared;
}

const ZeltoDashboardSnapshot& ZeltoDashboardSnapshot::sample(Date now, const locale::Calendar& calendar) {
  static const ZeltoDashboardSnapshot shared = assembleSampleDashboard(now, ZeltoLimitSnapshot::sample(now, calendar),
                                                                       ZeltoUsageSnapshot::sample(now, calendar));
  return shared;
}

}  // namespace zelto
