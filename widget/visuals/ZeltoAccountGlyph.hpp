#pragma once

#include "platform/kit/View.hpp"

namespace zelto {

// The round badge that marks an account: a glowing accent-gradient disc
// with a terminal symbol. Decorative, so hidden from accessibility. The
// symbol is always the rounded system face (never the custom family), at
// 0.42 of the diameter; the glow's radius is 0.3 of the diameter.
struct ZeltoAccountGlyph {
  double size = 22;  // diameter in points

  kit::View body() const;
};

}  // namespace zelto
