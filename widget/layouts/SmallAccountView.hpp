#pragma once

#include "platform/kit/Environment.hpp"
#include "platform/kit/View.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// The small widget: one account's first limit window (what is left, its
// title, a gauge, when it resets), a status dot and the account's reset
// credits. An account without a window shows the empty state instead.
struct SmallAccountView {
  ZeltoAccountSnapshot account;

  kit::View body(const kit::Environment& environment) const;
};

}  // namespace zelto
