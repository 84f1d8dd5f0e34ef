#pragma once

#include <cstdint>

#include "platform/kit/Environment.hpp"
#include "platform/kit/View.hpp"

namespace zelto {

// A capsule that counts an account's reset credits: "1 RESET", "0 RESETS",
// "2 RESETS", after a periwinkle dot. It renders any count; whether a count
// of 0 is worth a badge is the caller's choice.
struct CreditBadge {
  std::int64_t count = 0;

  kit::View body(const kit::Environment& environment) const;
};

}  // namespace zelto
