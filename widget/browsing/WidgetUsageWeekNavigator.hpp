#pragma once

#include <cstdint>

#include "platform/kit/Environment.hpp"
#include "platform/kit/View.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// The week control in the token panel's header: a round previous-week
// button, the label of the week shown ("MAR 10–16") and a round next-week
// button. The buttons run the week intents in the widget's process; the
// previous one is disabled once `weekOffset` reaches the oldest week any
// account has usage for, the next one at the current week. Without any
// usage it draws nothing and takes no space. Symbols and label take the
// surrounding font and colour.
struct WidgetUsageWeekNavigator {
  ZeltoDashboardSnapshot dashboard;
  std::int64_t weekOffset = 0;

  kit::View body(const kit::Environment& environment) const;
};

}  // namespace zelto
