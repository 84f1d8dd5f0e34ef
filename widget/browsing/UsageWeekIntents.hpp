#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/host/AppIntent.hpp"
#include "platform/locale/Calendar.hpp"
#include "widget/model/SharedSnapshotStore.hpp"

namespace zelto {

// The week offset after one step of `step` weeks from `stored`: never past
// the current week (0) and never further back than the oldest week any
// account has usage for; 0 without a dashboard. Never overflows.
std::int64_t steppedWeekOffset(const std::optional<ZeltoDashboardSnapshot>& dashboard, std::int64_t stored,
                               std::int64_t step, const locale::Calendar& calendar, Date now);

// Shared body of both week intents: load, step, store (even when unchanged),
// then ask the host to reload the widget's timelines. When the suite could
// not be read or written now, nothing is stored, nothing is reloaded, and
// the result says that the intent did not run.
host::IntentResult performWeekStep(std::int64_t step, const SharedContainer& container,
                                   const host::IntentContext& context);

// One step of the usage chart, `step` weeks, for the widget whose data lives
// in `container`. A view that only names the intent for a button may make
// one without a container: performing that one finds no suite, stores
// nothing and reports that it failed. The host runs the one it was given.
template <std::int64_t step>
class UsageWeekIntent final : public host::AppIntent {
 public:
  UsageWeekIntent() = default;
  explicit UsageWeekIntent(SharedContainer container) : container_(std::move(container)) {}
  std::string identifier() const override { return step < 0 ? "PreviousUsageWeekIntent" : "NextUsageWeekIntent"; }
  std::string title() const override { return step < 0 ? "Previous Zelto Usage Week" : "Next Zelto Usage Week"; }
  bool openAppWhenRun() const override { return false; }
  host::IntentResult perform(const host::IntentContext& context) const override {
    return performWeekStep(step, container_, context);
  }

 private:
  SharedContainer container_;
};

// Steps the usage chart one week back.
using PreviousUsageWeekIntent = UsageWeekIntent<-1>;
// Steps the usage chart one week forward.
using NextUsageWeekIntent = UsageWeekIntent<1>;

}  // namespace zelto
