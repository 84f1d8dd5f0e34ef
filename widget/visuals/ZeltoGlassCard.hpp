#pragma once

#include "platform/kit/View.hpp"

namespace zelto {

// A translucent rounded card behind `content`: a faint white fill, a
// hairline whose light falls from the top-leading corner, and a soft shadow
// 7 points down. The card is exactly the content's size; it adds no padding.
struct ZeltoGlassCard {
  double cornerRadius = 0;
  kit::View content;

  kit::View body() const;
};

}  // namespace zelto
