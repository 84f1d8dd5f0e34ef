#pragma once

#include "platform/kit/Environment.hpp"
#include "platform/kit/View.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// A circular gauge of one limit window: an arc from 12 o'clock clockwise
// over the remaining share, the percentage and "LEFT" inside, the window's
// title (upper-cased) below and, when the window has a reset time, the live
// span until it. Accessibility reads it as one element: "<title as stored>,
// <n> percent remaining". The compact variant draws a thinner line, a
// smaller number and tighter spacing.
struct LimitRing {
  ZeltoLimitWindow window;
  bool compact = false;

  kit::View body(const kit::Environment& environment) const;
};

}  // namespace zelto
