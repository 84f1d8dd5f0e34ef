#pragma once

#include <string>

#include "platform/kit/Environment.hpp"
#include "platform/kit/View.hpp"

namespace zelto {

// The centred state shown when there is nothing to display: a pulse icon
// on a faint indigo disc, the caller's message (verbatim, centred line by
// line when it wraps) and a fixed hint to open the companion application.
// It stretches over all the space it is offered.
struct EmptyLimitView {
  std::string message;

  kit::View body(const kit::Environment& environment) const;
};

}  // namespace zelto
