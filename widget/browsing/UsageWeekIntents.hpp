#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/host/AppIntent.hpp"
#include "platform/locale/Calendar.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// The week offset after one step of `step` weeks from `stored`: never past
// the current week (0) and never further back than the oldest week any
// account has usage for; 0 without a dashboard. Never overflows.
std::int64_t steppedWeekOffset(const std::optional<ZeltoDashboardSnapshot>& dashboard, std::int64_t stored,
                               std::int64_t step, const locale::Calendar& calendar, Date now);

// Shared body of both week intents: load, step, store (even when unchanged),
// then ask the host to reload the widget's timelines.
host::IntentResult performWeekStep(std::int64_t step, const host::IntentContext& context);

// Steps the usage chart one week back.
class PreviousUsageWeekIntent final : public host::AppIntent {
 public:
  static constexpr std::int64_t step = -1;
  std::string identifier() const override { return "PreviousUsageWeekIntent"; }
  std::string title() const override { return "Previous Zelto Usage Week"; }
  bool openAppWhenRun() const override { return false; }
  host::IntentResult perform(const host::IntentContext& context) const override {
    return performWeekStep(step, context);
  }
};

// Steps the usage chart one week forward.
class NextUsageWeekIntent final : public host::AppIntent {
 public:
  static constexpr std::int64_t step = 1;
  std::string identifier() const override { return "NextUsageWeekIntent"; }
  std::string title() const override { return "Next Zelto Usage Week"; }
  bool openAppWhenRun() const override { return false; }
  host::IntentResult perform(const host::IntentContext& context) const override {
    return performWeekStep(step, context);
  }
};

}  // namespace zelto
