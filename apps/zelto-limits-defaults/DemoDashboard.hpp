#pragma once

#include <cstdint>
#include <string_view>

#include "platform/locale/Calendar.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto::defaults {

// Every account the demo writes has an id that starts with this, so that the
// demo can tell its own snapshots from another writer's.
inline constexpr std::string_view demoAccountPrefix = "demo-";

// How many accounts the demo can write (the fourth shows the crowded layouts).
inline constexpr int maximumDemoAccounts = 4;

struct DemoSettings {
  int accounts = 2;         // 1 to maximumDemoAccounts
  std::uint64_t seed = 0;   // the same seed gives the same dashboard for the same clock
};

// A believable dashboard for the instant `now`, a pure function of its
// inputs. Each account has a "5-hour" and a "Weekly" window whose use grows
// through the window and drops back when it resets; reset credits that run
// towards their expiry and stay listed for six hours after it; daily usage for
// the last five weeks with quiet weekends, today's growing with the hour.
// With three or more accounts the third is one whose last fetch failed (an
// error message, no limits, no usage). Values that depend on the seed stay
// the same from one `now` to the next (a past day keeps its tokens).
ZeltoDashboardSnapshot makeDemoDashboard(const DemoSettings& settings, Date now, const locale::Calendar& calendar);

// Whether the demo wrote `dashboard`: it has accounts and every account id
// carries the demo prefix.
bool isDemoDashboard(const ZeltoDashboardSnapshot& dashboard);

}  // namespace zelto::defaults
