#pragma once

#include "platform/kit/View.hpp"

namespace zelto {

// The dark layered backdrop behind every layout: a night fill, a diagonal
// night-to-blue wash, an indigo glow beyond the top-trailing corner, a blue
// glow beyond the bottom-leading corner and a faint top-to-bottom sheen. It
// reaches under the safe area on every edge. The glows' radii are absolute
// points, so they keep their size in every widget family.
struct ZeltoAuroraBackground {
  kit::View body() const;
};

}  // namespace zelto
