#pragma once

#include <string>

#include "platform/kit/Environment.hpp"
#include "platform/kit/View.hpp"

namespace zelto {

// A small caption over a value, both shown as given, stretched over the
// whole width offered and aligned to its leading edge. The value keeps to
// one line: it tightens and then shrinks to 0.62 of its size before it is
// cut. The compact variant draws the value in the label style.
struct UsageSummaryMetric {
  std::string label;
  std::string value;
  bool compact = false;

  kit::View body(const kit::Environment& environment) const;
};

}  // namespace zelto
