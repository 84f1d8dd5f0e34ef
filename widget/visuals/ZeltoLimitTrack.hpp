#pragma once

#include <cstdint>

#include "platform/kit/View.hpp"

namespace zelto {

// A horizontal capsule bar of `height` points across all the width offered:
// a faint track and, over it, a glowing fill `remaining` percent of that
// width long, in the accent gradient while the remaining share is healthy
// (26 or more) and in its warning tone otherwise. The fill is not capped at
// 100 (callers pass 0...100) and draws nothing for 0 or less. Hidden from
// accessibility: the texts beside it say the same.
struct ZeltoLimitTrack {
  std::int64_t remaining = 0;
  double height = 5;

  kit::View body() const;
};

}  // namespace zelto
